"""marlox-probe --list --watch --json against a sysfs tree that the test changes
while it runs (--root), the way the kernel changes /sys when an adapter is
plugged in and out: the list first, then one JSON line per port added or
removed, exit 0 on SIGINT and SIGTERM, and exit 1 once nobody reads its output.

Nothing here sends the kernel's events, so the changes are found by the watch's
own look at the tree every second; the figures printed are that latency.
"""
import json
import os
import select
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

PROBE = os.environ.get("MARLOX_PROBE", "")
LINE_TIMEOUT_S = 5


class Tree:
    """sys/ and dev/ laid out as the kernel lays out ttys (tests/sys/SysfsTree)."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="marlox-watch-")
        self.sys = os.path.join(self.root, "sys")
        os.makedirs(os.path.join(self.sys, "class", "tty"))
        os.makedirs(os.path.join(self.root, "dev"))

    def write(self, path, text):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as f:
            f.write(text)

    def link(self, link, target):
        os.makedirs(os.path.dirname(link), exist_ok=True)
        os.symlink(os.path.relpath(target, os.path.dirname(link)), link)

    def add_tty(self, name, device_dir):
        device = os.path.join(self.sys, "devices", device_dir)
        tty = os.path.join(device, "tty", name)
        self.write(os.path.join(tty, "dev"), "4:64\n")
        self.link(os.path.join(tty, "device"), device)
        self.link(os.path.join(tty, "subsystem"), os.path.join(self.sys, "class", "tty"))
        self.link(os.path.join(self.sys, "class", "tty", name), tty)
        self.write(os.path.join(self.root, "dev", name), "")
        return tty

    def add_uart(self, name):
        tty = self.add_tty(name, "platform/serial8250/serial8250:0/serial8250:0." + name[4:])
        self.write(os.path.join(tty, "type"), "4\n")

    def add_usb_adapter(self, name, bus_path, product):
        device = os.path.join(self.sys, "devices", "pci0000:00", "0000:00:14.0", "usb1", bus_path)
        for field, value in (("idVendor", "0403"), ("idProduct", "6001"),
                             ("manufacturer", "FTDI"), ("product", product)):
            self.write(os.path.join(device, field), value + "\n")
        interface = os.path.join(device, bus_path + ":1.0")
        self.write(os.path.join(interface, "bInterfaceNumber"), "00\n")
        self.add_tty(name, os.path.relpath(os.path.join(interface, name),
                                           os.path.join(self.sys, "devices")))

    def remove_tty(self, name):
        os.remove(os.path.join(self.sys, "class", "tty", name))
        os.remove(os.path.join(self.root, "dev", name))

    def close(self):
        shutil.rmtree(self.root, ignore_errors=True)


class Watch:
    def __init__(self, tree):
        self.process = subprocess.Popen(
            [PROBE, "--list", "--watch", "--json", "--root", tree.root],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    def line(self):
        ready, _, _ = select.select([self.process.stdout], [], [], LINE_TIMEOUT_S)
        if not ready:
            raise AssertionError("no line from marlox-probe within %d s" % LINE_TIMEOUT_S)
        return json.loads(self.process.stdout.readline())

    def stop(self, signal_number):
        self.process.send_signal(signal_number)
        try:
            status = self.process.wait(LINE_TIMEOUT_S)
        finally:
            if self.process.poll() is None:
                self.process.kill()
                self.process.wait()
        rest, err = self.process.communicate()
        return status, rest, err


class WatchOnAChangingTree(unittest.TestCase):
    def setUp(self):
        self.tree = Tree()
        self.addCleanup(self.tree.close)

    def test_plug_in_and_out_then_interrupt(self):
        self.tree.add_uart("ttyS4")
        watch = Watch(self.tree)
        first = watch.line()
        self.assertEqual([port["portName"] for port in first], ["ttyS4"])

        self.tree.add_usb_adapter("ttyUSB0", "1-1", "FT232R USB UART")
        plugged = time.monotonic()
        added = watch.line()
        plug_ms = (time.monotonic() - plugged) * 1000
        self.assertEqual(added["event"], "added")
        self.assertEqual(added["port"], {
            "devicePath": os.path.join(self.tree.root, "dev", "ttyUSB0"),
            "portName": "ttyUSB0", "friendlyName": "FT232R USB UART (ttyUSB0)",
            "isUsb": True, "description": "FT232R USB UART"})

        self.tree.remove_tty("ttyUSB0")
        unplugged = time.monotonic()
        removed = watch.line()
        unplug_ms = (time.monotonic() - unplugged) * 1000
        self.assertEqual((removed["event"], removed["port"]["portName"]), ("removed", "ttyUSB0"))
        print("change to line: plug-in %.0f ms, unplug %.0f ms (1 s look, no kernel events)"
              % (plug_ms, unplug_ms))

        status, rest, err = watch.stop(signal.SIGINT)
        self.assertEqual((status, rest, err), (0, "", ""))

    def test_sigterm_ends_it_cleanly(self):
        watch = Watch(self.tree)
        self.assertEqual(watch.line(), [])
        self.assertEqual(watch.stop(signal.SIGTERM), (0, "", ""))

    def test_a_reader_gone_ends_it_while_no_port_changes(self):
        watch = Watch(self.tree)
        self.assertEqual(watch.line(), [])
        watch.process.stdout.close()
        try:
            status = watch.process.wait(LINE_TIMEOUT_S)
        finally:
            if watch.process.poll() is None:
                watch.process.kill()
                watch.process.wait()
        self.assertEqual((status, watch.process.stderr.read()),
                         (1, "marlox-probe: the output could not be written\n"))


if __name__ == "__main__":
    unittest.main()
