#include "ports/RegistryDiscovery.h"

#include "ports/PortPath.h"

#include <cstring>
#include <string>

namespace {

constexpr std::uint32_t NAME_BUFFER_SIZE = 128;
constexpr std::uint32_t DATA_BUFFER_SIZE = 128;

// One open key, closed when the walk leaves its level by any path.
class OpenKey {
public:
    OpenKey(sys::Registry& registry, sys::RegistryKey parent, const std::string& name)
        : m_registry(registry) {
        m_open = registry.OpenKey(parent, name.c_str(), m_key) == 0;
    }
    ~OpenKey() {
        if (m_open) m_registry.CloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    bool IsOpen() const { return m_open; }
    sys::RegistryKey Get() const { return m_key; }

private:
    sys::Registry& m_registry;
    sys::RegistryKey m_key = nullptr;
    bool m_open = false;
};

// The name of the subkey at index, or false past the last one (or for a name that does not fit).
bool SubkeyName(sys::Registry& registry, sys::RegistryKey key, std::uint32_t index,
                std::string& name) {
    char buffer[NAME_BUFFER_SIZE];
    std::uint32_t size = sizeof buffer;
    if (registry.EnumKey(key, index, buffer, size) != 0) return false;
    name.assign(buffer, strnlen(buffer, sizeof buffer));
    return true;
}

// A value's text: up to its first zero byte within the bytes read, never past the buffer.
bool ValueText(sys::Registry& registry, sys::RegistryKey key, const char* valueName,
               std::string& text) {
    char buffer[DATA_BUFFER_SIZE];
    std::uint32_t size = sizeof buffer;
    if (registry.QueryValue(key, valueName, reinterpret_cast<std::uint8_t*>(buffer), size) != 0)
        return false;
    const std::size_t read = size < sizeof buffer ? size : sizeof buffer;
    text.assign(buffer, strnlen(buffer, read));
    return true;
}

bool IsSerialDeviceKey(const std::string& name) { return name == "*PNP0500" || name == "*PNP0501"; }

// Overwrites the first entry of the same port name, else appends.
void Merge(PortList& ports, const PortEntry& entry) {
    for (std::size_t i = 0; i < ports.GetCount(); ++i) {
        if (ports.GetAt(i).portName == entry.portName) {
            ports.SetAt(i, entry);
            return;
        }
    }
    ports.Append(entry);
}

}  // namespace

void ScanPortInstances(sys::Registry& registry, sys::RegistryKey deviceKey, bool isUsb,
                       PortList& ports) {
    std::string instanceName;
    for (std::uint32_t k = 0; SubkeyName(registry, deviceKey, k, instanceName); ++k) {
        OpenKey instance(registry, deviceKey, instanceName);
        if (!instance.IsOpen())
            throw DiscoveryFailure("Could not read from HKLM\\Enum\\...\\" + instanceName);

        PortEntry entry;
        if (!ValueText(registry, instance.Get(), "PORTNAME", entry.portName)) continue;
        ValueText(registry, instance.Get(), "FRIENDLYNAME", entry.friendlyName);
        entry.devicePath = DevicePathOf(entry.portName);
        entry.isUsb = isUsb;
        Merge(ports, entry);
    }
}

void DiscoverRegistryPorts(PortList& ports, sys::Registry& registry) {
    OpenKey enumKey(registry, registry.LocalMachine(), "Enum");
    if (!enumKey.IsOpen()) throw DiscoveryFailure("Could not read from HKLM\\Enum");

    std::string firstName;
    for (std::uint32_t i = 0; SubkeyName(registry, enumKey.Get(), i, firstName); ++i) {
        OpenKey firstLevel(registry, enumKey.Get(), firstName);
        if (!firstLevel.IsOpen())
            throw DiscoveryFailure("Could not read from HKLM\\Enum\\" + firstName);
        const bool isUsb = firstName == "USBPORTS";

        std::string deviceName;
        for (std::uint32_t j = 0; SubkeyName(registry, firstLevel.Get(), j, deviceName); ++j) {
            if (!isUsb && !IsSerialDeviceKey(deviceName)) continue;
            OpenKey device(registry, firstLevel.Get(), deviceName);
            if (!device.IsOpen())
                throw DiscoveryFailure("Could not read from HKLM\\Enum\\" + firstName + "\\" +
                                       deviceName);
            ScanPortInstances(registry, device.Get(), isUsb, ports);
        }
    }
}
