#include "tools/probe/ListPorts.h"

#include "ports/DiscoverPorts.h"
#include "tools/probe/Json.h"
#include "tools/probe/Options.h"
#include "tools/probe/Probe.h"
#include "tools/probe/Texts.h"

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

Json PortJson(const PortEntry& entry) {
    return {{"devicePath", JsonString(entry.devicePath)},
            {"portName", JsonString(entry.portName)},
            {"friendlyName", JsonString(entry.friendlyName)},
            {"isUsb", entry.isUsb},
            {"description", JsonString(entry.description)}};
}

std::string FormatPortsJson(const PortList& ports) {
    Json objects = Json::array();
    for (std::size_t i = 0; i < ports.GetCount(); ++i)
        objects.push_back(PortJson(ports.GetAt(i)));
    return JsonText(objects) + "\n";
}

int ListPorts(sys::DiscoveryPlatform& platform, bool json, std::ostream& out, std::ostream& err,
              PortList& ports) {
    try {
        DiscoverPorts(ports, platform);
    } catch (const DiscoveryFailure& failure) {
        err << Printable(failure.what()) << '\n';
        return EXIT_DISCOVERY_FAILED;
    }
    return Print(json ? FormatPortsJson(ports) : FormatPortsText(ports), EXIT_OK, out, err);
}

int RunListCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::optional<ProbeOptions> options = ParseProbeOptions(args);
    if (!options || options->form != Form::List) {
        err << LIST_USAGE;
        return EXIT_USAGE;
    }
    return ListPorts(sys::SystemDiscoveryPlatform(), options->json, out, err);
}

}  // namespace probe
