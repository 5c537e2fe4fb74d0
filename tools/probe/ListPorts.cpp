#include "tools/probe/ListPorts.h"

#include "ports/DiscoverPorts.h"
#include "tools/probe/Json.h"
#include "tools/probe/Probe.h"

namespace probe {

std::string FormatPortsText(const PortList& ports) {
    std::string text;
    for (std::size_t i = 0; i < ports.GetCount(); ++i) {
        const PortEntry& entry = ports.GetAt(i);
        // Printable also escapes tabs and line breaks, which would break the layout.
        text += Printable(entry.devicePath) + '\t' + Printable(entry.portName) + '\t' +
                Printable(entry.friendlyName) + '\t' + (entry.isUsb ? "1" : "0") + '\t' +
                Printable(entry.description) + '\n';
    }
    return text;
}

std::string PortJson(const PortEntry& entry) {
    return JsonObject()
        .String("devicePath", entry.devicePath)
        .String("portName", entry.portName)
        .String("friendlyName", entry.friendlyName)
        .Bool("isUsb", entry.isUsb)
        .String("description", entry.description)
        .Text();
}

std::string FormatPortsJson(const PortList& ports) {
    std::vector<std::string> objects;
    for (std::size_t i = 0; i < ports.GetCount(); ++i)
        objects.push_back(PortJson(ports.GetAt(i)));
    return JsonArray(objects) + "\n";
}

int ListPorts(sys::DiscoveryPlatform& platform, bool json, std::ostream& out, std::ostream& err,
              PortList& ports) {
    try {
        DiscoverPorts(ports, platform);
    } catch (const DiscoveryFailure& failure) {
        err << Printable(failure.what()) << '\n';
        return EXIT_DISCOVERY_FAILED;
    }
    return Print(json ? FormatPortsJson(ports) : FormatPortsText(ports), EXIT_TEST_RAN, out, err);
}

int RunListCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool list = false;
    bool json = false;
    for (const std::string& arg : args) {
        if (arg == "--list" && !list) {
            list = true;
        } else if (arg == "--json" && !json) {
            json = true;
        } else {
            err << "usage: marlox-probe --list [--json]\n";
            return EXIT_USAGE;
        }
    }
    return ListPorts(sys::SystemDiscoveryPlatform(), json, out, err);
}

}  // namespace probe
