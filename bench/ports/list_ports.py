# Times pyserial's port lister in-process: prints the median seconds per call over the rounds,
# then one port device per line.
import statistics
import sys
import time

from serial.tools import list_ports

rounds, calls = int(sys.argv[1]), int(sys.argv[2])
per_call = []
for _ in range(rounds):
    start = time.perf_counter()
    for _ in range(calls):
        ports = list_ports.comports()
    per_call.append((time.perf_counter() - start) / calls)
print(statistics.median(per_call))
for port in list_ports.comports():
    print(port.device)
