#include "ports/DiscoverPorts.h"

#include "ports/FailureText.h"
#include "ports/FixedPorts.h"
#include "ports/InterfaceDiscovery.h"
#include "ports/RegistryDiscovery.h"

#include <stdexcept>
#include <string>

namespace {

// "Communications Port (COM1)" describes as "Communications Port": the trailing port suffix
// goes when it is the text's last part and something stands before it.
std::string WithoutPortSuffix(const std::string& name) {
    const std::size_t open = name.find(" (");
    const std::size_t close = name.find(')');
    if (open != std::string::npos && open > 0 && close != std::string::npos &&
        close == name.size() - 1)
        return name.substr(0, open);
    return name;
}

// Fills empty display names and descriptions; what a method set stays as it is.
void CompleteEntries(PortList& ports) {
    for (std::size_t i = 0; i < ports.GetCount(); ++i) {
        PortEntry entry = ports.GetAt(i);
        if (entry.friendlyName.empty()) entry.friendlyName = entry.portName;
        if (entry.description.empty()) entry.description = WithoutPortSuffix(entry.friendlyName);
        ports.SetAt(i, entry);
    }
}

// Windows: exactly one of the three methods, chosen by the version.
void DiscoverWindowsPorts(PortList& ports, sys::WindowsServices& windows) {
    sys::OsVersion version;
    if (!windows.Os().GetVersion(version))
        throw DiscoveryFailure(
            FormatErrorText("Could not get OS version. (err=%lx)", windows.Os().LastError()));

    if (version.majorVersion >= 5)
        DiscoverInterfacePorts(ports, windows);
    else if (version.platformId == sys::PLATFORM_WIN32_NT)
        DiscoverFixedPorts(ports);
    else
        DiscoverRegistryPorts(ports, windows.HardwareRegistry());
}

}  // namespace

void DiscoverPorts(PortList& ports) { DiscoverPorts(ports, sys::SystemDiscoveryPlatform()); }

void DiscoverPorts(PortList& ports, sys::DiscoveryPlatform& platform) {
    ports.Clear();

    if (const sys::PortInventory* inventory = platform.Inventory()) {
        // The inventory's records are the list's entries, field for field, in its order.
        for (const sys::InventoryPort& port : inventory->ListPorts())
            ports.Append(
                {port.devicePath, port.portName, port.friendlyName, port.isUsb, port.description});
    } else if (sys::WindowsServices* windows = platform.Windows()) {
        DiscoverWindowsPorts(ports, *windows);
    } else {
        throw std::logic_error("a discovery platform has an inventory or Windows services");
    }

    CompleteEntries(ports);
}
