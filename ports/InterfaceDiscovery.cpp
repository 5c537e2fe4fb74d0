#include "ports/InterfaceDiscovery.h"

#include "ports/FailureText.h"

#include <cstddef>
#include <cstring>
#include <string>

namespace {

// 256 path characters and the terminating zero after the record's size field.
constexpr std::uint32_t DETAIL_BUFFER_SIZE =
    offsetof(sys::SpDeviceInterfaceDetailDataA, devicePath) + 257;
constexpr std::uint32_t PROPERTY_BUFFER_SIZE = 256;

template <typename EntryPointType>
bool Resolve(const sys::Module& library, const char* name, EntryPointType& entryPoint) {
    const sys::EntryPoint found = library.Find(name);
    if (found == nullptr) return false;
    entryPoint = reinterpret_cast<EntryPointType>(found);
    return true;
}

// The device information set, destroyed once through the library that produced it.
class DeviceInfoSet {
public:
    explicit DeviceInfoSet(const SetupApi& api) : m_api(api) {}
    ~DeviceInfoSet() { Destroy(); }
    DeviceInfoSet(const DeviceInfoSet&) = delete;
    DeviceInfoSet& operator=(const DeviceInfoSet&) = delete;

    void Query() {
        m_set = m_api.getClassDevsA(&sys::COMPORT_INTERFACE_CLASS, nullptr, nullptr,
                                    sys::CLASS_DEVS_PRESENT | sys::CLASS_DEVS_INTERFACE);
    }
    bool IsValid() const { return m_set != sys::InvalidDevInfo(); }
    sys::HDevInfo Get() const { return m_set; }
    void Destroy() {
        if (IsValid()) m_api.destroyDeviceInfoList(m_set);
        m_set = sys::InvalidDevInfo();
    }

private:
    const SetupApi& m_api;
    sys::HDevInfo m_set = sys::InvalidDevInfo();
};

// A text property, or false when it is missing or does not fit.
bool ReadProperty(const SetupApi& api, sys::HDevInfo set, sys::SpDevInfoData& device,
                  std::uint32_t property, std::string& text) {
    char buffer[PROPERTY_BUFFER_SIZE];
    if (!api.getDeviceRegistryPropertyA(set, &device, property, nullptr,
                                        reinterpret_cast<std::uint8_t*>(buffer), sizeof buffer,
                                        nullptr))
        return false;
    text.assign(buffer, strnlen(buffer, sizeof buffer));
    return true;
}

// Walks the set's interfaces from member 0; returns the failure text, empty when there is none.
std::string WalkInterfaces(const SetupApi& api, sys::HDevInfo set,
                           sys::SpDeviceInterfaceDetailDataA& detail, sys::OsInfo& os,
                           PortList& ports) {
    sys::SpDeviceInterfaceData interfaceData{};
    interfaceData.cbSize = sizeof interfaceData;
    for (std::uint32_t index = 0;; ++index) {
        if (!api.enumDeviceInterfaces(set, nullptr, &sys::COMPORT_INTERFACE_CLASS, index,
                                      &interfaceData)) {
            const std::uint32_t code = os.LastError();
            if (code == sys::ERROR_NO_MORE_ITEMS_CODE) return {};
            return FormatErrorText("pSetupDiEnumDeviceInterfaces failed. (err=%lx)", code);
        }
        sys::SpDevInfoData device{};
        device.cbSize = sizeof device;
        if (!api.getDeviceInterfaceDetailA(set, &interfaceData, &detail, DETAIL_BUFFER_SIZE,
                                           nullptr, &device))
            return FormatErrorText("pSetupDiGetDeviceInterfaceDetail failed. (err=%lx)",
                                   os.LastError());

        std::string friendlyName;
        std::string description;
        const bool named =
            ReadProperty(api, set, device, sys::PROPERTY_FRIENDLYNAME, friendlyName) &&
            ReadProperty(api, set, device, sys::PROPERTY_DEVICEDESC, description);
        std::string location;
        const bool isUsb =
            ReadProperty(api, set, device, sys::PROPERTY_LOCATION_INFORMATION, location) &&
            location.compare(0, 3, "USB") == 0;
        if (!named) continue;

        PortEntry entry;
        const std::size_t pathRoom =
            DETAIL_BUFFER_SIZE - offsetof(sys::SpDeviceInterfaceDetailDataA, devicePath);
        entry.devicePath.assign(detail.devicePath, strnlen(detail.devicePath, pathRoom));
        entry.friendlyName = friendlyName;
        entry.isUsb = isUsb;
        entry.description = description;
        ports.Append(entry);
    }
}

}  // namespace

void LoadSetupApi(sys::ModuleLoader& modules, SetupApi& api) {
    api = SetupApi{};
    api.library = modules.Load("SETUPAPI");
    // Thrown like every failure text: whoever asked for the ports decides whether to show it.
    if (!api.library) throw DiscoveryFailure("Can't Load SETUPAPI.DLL");
    const sys::Module& library = *api.library;
    const char* missing = nullptr;
    const auto resolve = [&](const char* name, auto& entryPoint) {
        if (missing == nullptr && !Resolve(library, name, entryPoint)) missing = name;
    };
    resolve("SetupDiGetClassDevsW", api.getClassDevsW);
    resolve("SetupDiGetClassDevsA", api.getClassDevsA);
    resolve("SetupDiEnumDeviceInterfaces", api.enumDeviceInterfaces);
    resolve("SetupDiGetDeviceInterfaceDetailA", api.getDeviceInterfaceDetailA);
    resolve("SetupDiGetDeviceInterfaceDetailW", api.getDeviceInterfaceDetailW);
    resolve("SetupDiGetDeviceRegistryPropertyA", api.getDeviceRegistryPropertyA);
    resolve("SetupDiGetDeviceRegistryPropertyW", api.getDeviceRegistryPropertyW);
    resolve("SetupDiDestroyDeviceInfoList", api.destroyDeviceInfoList);
    if (missing != nullptr) {
        api = SetupApi{};
        throw SilentDiscoveryFailure(std::string("SETUPAPI.DLL has no ") + missing);
    }
}

void DiscoverInterfacePorts(PortList& ports, sys::WindowsServices& windows) {
    SetupApi api;
    LoadSetupApi(windows.Modules(), api);

    // Declared so that leaving early by an exception also releases the buffer, then the set,
    // then the library.
    std::string failure;
    DeviceInfoSet set(api);
    std::unique_ptr<std::uint8_t[]> detailBuffer;

    set.Query();
    if (!set.IsValid()) {
        failure =
            FormatErrorText("pSetupDiGetClassDevs failed. (err=%lx)", windows.Os().LastError());
    } else {
        detailBuffer = std::make_unique<std::uint8_t[]>(DETAIL_BUFFER_SIZE);
        auto* detail = reinterpret_cast<sys::SpDeviceInterfaceDetailDataA*>(detailBuffer.get());
        detail->cbSize = sizeof(sys::SpDeviceInterfaceDetailDataA);
        failure = WalkInterfaces(api, set.Get(), *detail, windows.Os(), ports);
    }

    detailBuffer.reset();
    set.Destroy();
    api.library.reset();
    if (!failure.empty()) throw DiscoveryFailure(failure);
}
