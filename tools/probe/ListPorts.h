#pragma once
// marlox-probe --list [--json]: the ports that discovery finds, as the dialog would list them.

#include <ostream>
#include <string>
#include <vector>

#include "ports/PortList.h"
#include "tools/probe/Json.h"
#include "sys/DiscoveryPlatform.h"

namespace probe {

constexpr int EXIT_DISCOVERY_FAILED = 1;

// One line per entry, its five fields separated by tabs (isUsb as 0 or 1).
std::string FormatPortsText(const PortList& ports);
// One entry as an object with devicePath, portName, friendlyName, isUsb and description.
Json PortJson(const PortEntry& entry);
// An array of PortJson objects.
std::string FormatPortsJson(const PortList& ports);

// Runs discovery into ports and prints them; a discovery failure prints its text on err.
int ListPorts(sys::DiscoveryPlatform& platform, bool json, std::ostream& out, std::ostream& err,
              PortList& ports);
inline int ListPorts(sys::DiscoveryPlatform& platform, bool json, std::ostream& out,
                     std::ostream& err) {
    PortList ports;
    return ListPorts(platform, json, out, err, ports);
}

// args without the program name, holding "--list" and at most one "--json".
int RunListCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace probe
