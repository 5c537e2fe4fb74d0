#include "ports/FixedPorts.h"

#include "ports/PortPath.h"

#include <string>

void DiscoverFixedPorts(PortList& ports) {
    for (int n = 1; n <= 16; ++n) {
        PortEntry entry;
        entry.portName = "COM" + std::to_string(n);
        entry.devicePath = DevicePathOf(entry.portName);
        ports.Append(entry);
    }
}
