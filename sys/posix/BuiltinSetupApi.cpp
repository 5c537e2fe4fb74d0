#include "sys/posix/BuiltinSetupApi.h"

#include "sys/SetupApi.h"
#include "sys/posix/LastError.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace sys::posix {

namespace {

// The ports of one class query; the handle given out is the snapshot's address.
struct DeviceInfoSet {
    std::vector<SysfsPort> ports;
};

std::mutex registryMutex;
const BuiltinSetupApi* activeLibrary = nullptr;
std::map<HDevInfo, std::unique_ptr<DeviceInfoSet>>& Sets() {
    static std::map<HDevInfo, std::unique_ptr<DeviceInfoSet>> sets;
    return sets;
}

Bool Fail(std::uint32_t code) {
    SetLastErrorCode(code);
    return 0;
}

// The snapshot behind a handle; nullptr for a handle this library did not give out.
// Snapshots are read-only once made, so the pointer stays valid until the caller destroys it.
const DeviceInfoSet* FindSet(HDevInfo handle) {
    std::lock_guard<std::mutex> lock(registryMutex);
    const auto found = Sets().find(handle);
    return found == Sets().end() ? nullptr : found->second.get();
}

// Member numbers are kept 1-based in the records' reserved fields, so a zeroed record names none.
const SysfsPort* Member(const DeviceInfoSet& set, std::uintptr_t reserved) {
    if (reserved == 0 || reserved > set.ports.size())
        return nullptr;
    return &set.ports[reserved - 1];
}

// Only the scan, which must know the roots, needs to reach the loaded instance.
std::vector<SysfsPort> ScanActive(bool& loaded);

HDevInfo SYS_WINAPI GetClassDevsA(const Guid* classGuid, const char* enumerator, void*,
                                  std::uint32_t flags) {
    if (classGuid == nullptr || enumerator != nullptr ||
        (flags & CLASS_DEVS_INTERFACE) == 0) {
        SetLastErrorCode(ERROR_INVALID_PARAMETER_CODE);
        return InvalidDevInfo();
    }
    auto set = std::make_unique<DeviceInfoSet>();
    bool loaded = false;
    if (*classGuid == COMPORT_INTERFACE_CLASS)
        set->ports = ScanActive(loaded);
    else
        loaded = true;  // another class: a valid, empty set
    if (!loaded) {
        SetLastErrorCode(ERROR_INVALID_HANDLE_CODE);
        return InvalidDevInfo();
    }
    std::lock_guard<std::mutex> lock(registryMutex);
    const HDevInfo handle = set.get();
    Sets().emplace(handle, std::move(set));
    return handle;
}

HDevInfo SYS_WINAPI GetClassDevsW(const Guid*, const char16_t*, void*, std::uint32_t) {
    SetLastErrorCode(ERROR_CALL_NOT_IMPLEMENTED_CODE);
    return InvalidDevInfo();
}

Bool SYS_WINAPI EnumDeviceInterfaces(HDevInfo handle, SpDevInfoData* device,
                                     const Guid* interfaceClassGuid, std::uint32_t memberIndex,
                                     SpDeviceInterfaceData* interfaceData) {
    const DeviceInfoSet* set = FindSet(handle);
    if (set == nullptr)
        return Fail(ERROR_INVALID_HANDLE_CODE);
    if (device != nullptr || interfaceClassGuid == nullptr || interfaceData == nullptr)
        return Fail(ERROR_INVALID_PARAMETER_CODE);
    if (interfaceData->cbSize != sizeof(SpDeviceInterfaceData))
        return Fail(ERROR_INVALID_USER_BUFFER_CODE);
    if (!(*interfaceClassGuid == COMPORT_INTERFACE_CLASS) || memberIndex >= set->ports.size())
        return Fail(ERROR_NO_MORE_ITEMS_CODE);
    interfaceData->interfaceClassGuid = COMPORT_INTERFACE_CLASS;
    interfaceData->flags = INTERFACE_ACTIVE;
    interfaceData->reserved = memberIndex + 1;
    return 1;
}

Bool SYS_WINAPI GetDeviceInterfaceDetailA(HDevInfo handle, SpDeviceInterfaceData* interfaceData,
                                          SpDeviceInterfaceDetailDataA* detail,
                                          std::uint32_t detailSize, std::uint32_t* requiredSize,
                                          SpDevInfoData* device) {
    const DeviceInfoSet* set = FindSet(handle);
    if (set == nullptr)
        return Fail(ERROR_INVALID_HANDLE_CODE);
    if (interfaceData == nullptr || interfaceData->cbSize != sizeof(SpDeviceInterfaceData))
        return Fail(ERROR_INVALID_USER_BUFFER_CODE);
    const SysfsPort* port = Member(*set, interfaceData->reserved);
    if (port == nullptr)
        return Fail(ERROR_INVALID_PARAMETER_CODE);
    const std::size_t needed =
        offsetof(SpDeviceInterfaceDetailDataA, devicePath) + port->devicePath.size() + 1;
    if (requiredSize != nullptr)
        *requiredSize = static_cast<std::uint32_t>(needed);
    if (detail == nullptr && detailSize == 0)
        return Fail(ERROR_INSUFFICIENT_BUFFER_CODE);
    if (detail == nullptr || detail->cbSize != sizeof(SpDeviceInterfaceDetailDataA))
        return Fail(ERROR_INVALID_USER_BUFFER_CODE);
    if (device != nullptr && device->cbSize != sizeof(SpDevInfoData))
        return Fail(ERROR_INVALID_USER_BUFFER_CODE);
    if (detailSize < needed)
        return Fail(ERROR_INSUFFICIENT_BUFFER_CODE);
    std::memcpy(detail->devicePath, port->devicePath.c_str(), port->devicePath.size() + 1);
    if (device != nullptr) {
        device->classGuid = PORTS_SETUP_CLASS;
        device->devInst = static_cast<std::uint32_t>(interfaceData->reserved);
        device->reserved = interfaceData->reserved;
    }
    return 1;
}

Bool SYS_WINAPI GetDeviceInterfaceDetailW(HDevInfo, SpDeviceInterfaceData*, void*, std::uint32_t,
                                          std::uint32_t*, SpDevInfoData*) {
    return Fail(ERROR_CALL_NOT_IMPLEMENTED_CODE);
}

Bool SYS_WINAPI GetDeviceRegistryPropertyA(HDevInfo handle, SpDevInfoData* device,
                                           std::uint32_t property, std::uint32_t* propertyType,
                                           std::uint8_t* buffer, std::uint32_t bufferSize,
                                           std::uint32_t* requiredSize) {
    const DeviceInfoSet* set = FindSet(handle);
    if (set == nullptr)
        return Fail(ERROR_INVALID_HANDLE_CODE);
    if (device == nullptr || device->cbSize != sizeof(SpDevInfoData))
        return Fail(ERROR_INVALID_USER_BUFFER_CODE);
    const SysfsPort* port = Member(*set, device->reserved);
    if (port == nullptr)
        return Fail(ERROR_INVALID_PARAMETER_CODE);
    const std::string* text = property == PROPERTY_FRIENDLYNAME ? &port->friendlyName
                              : property == PROPERTY_DEVICEDESC ? &port->description
                              : property == PROPERTY_LOCATION_INFORMATION ? &port->location
                                                                           : nullptr;
    if (text == nullptr || text->empty())
        return Fail(ERROR_INVALID_DATA_CODE);  // what Windows reports for an absent property
    const std::size_t needed = text->size() + 1;
    if (requiredSize != nullptr)
        *requiredSize = static_cast<std::uint32_t>(needed);
    if (propertyType != nullptr)
        *propertyType = TEXT_VALUE_TYPE;
    if (buffer == nullptr || bufferSize < needed)
        return Fail(ERROR_INSUFFICIENT_BUFFER_CODE);
    std::memcpy(buffer, text->c_str(), needed);
    return 1;
}

Bool SYS_WINAPI GetDeviceRegistryPropertyW(HDevInfo, SpDevInfoData*, std::uint32_t,
                                           std::uint32_t*, std::uint8_t*, std::uint32_t,
                                           std::uint32_t*) {
    return Fail(ERROR_CALL_NOT_IMPLEMENTED_CODE);
}

Bool SYS_WINAPI DestroyDeviceInfoList(HDevInfo handle) {
    std::lock_guard<std::mutex> lock(registryMutex);
    if (Sets().erase(handle) == 0)
        return Fail(ERROR_INVALID_HANDLE_CODE);
    return 1;
}

struct NamedEntryPoint {
    const char* name;
    EntryPoint entryPoint;
};

template <typename EntryPointType>
NamedEntryPoint Named(const char* name, EntryPointType entryPoint) {
    return {name, reinterpret_cast<EntryPoint>(entryPoint)};
}

}  // namespace

BuiltinSetupApi::BuiltinSetupApi(SysfsPorts ports) : m_ports(std::move(ports)) {
    std::lock_guard<std::mutex> lock(registryMutex);
    m_previous = activeLibrary;
    activeLibrary = this;
}

BuiltinSetupApi::~BuiltinSetupApi() {
    std::lock_guard<std::mutex> lock(registryMutex);
    if (activeLibrary == this)
        activeLibrary = m_previous;
}

EntryPoint BuiltinSetupApi::Find(const char* name) const {
    static const NamedEntryPoint table[] = {
        Named("SetupDiGetClassDevsW", static_cast<SetupDiGetClassDevsWFn>(GetClassDevsW)),
        Named("SetupDiGetClassDevsA", static_cast<SetupDiGetClassDevsAFn>(GetClassDevsA)),
        Named("SetupDiEnumDeviceInterfaces",
              static_cast<SetupDiEnumDeviceInterfacesFn>(EnumDeviceInterfaces)),
        Named("SetupDiGetDeviceInterfaceDetailA",
              static_cast<SetupDiGetDeviceInterfaceDetailAFn>(GetDeviceInterfaceDetailA)),
        Named("SetupDiGetDeviceInterfaceDetailW",
              static_cast<SetupDiGetDeviceInterfaceDetailWFn>(GetDeviceInterfaceDetailW)),
        Named("SetupDiGetDeviceRegistryPropertyA",
              static_cast<SetupDiGetDeviceRegistryPropertyAFn>(GetDeviceRegistryPropertyA)),
        Named("SetupDiGetDeviceRegistryPropertyW",
              static_cast<SetupDiGetDeviceRegistryPropertyWFn>(GetDeviceRegistryPropertyW)),
        Named("SetupDiDestroyDeviceInfoList",
              static_cast<SetupDiDestroyDeviceInfoListFn>(DestroyDeviceInfoList)),
    };
    if (name == nullptr)
        return nullptr;
    for (const NamedEntryPoint& entry : table)
        if (std::strcmp(entry.name, name) == 0)
            return entry.entryPoint;
    return nullptr;
}

namespace {

std::vector<SysfsPort> ScanActive(bool& loaded) {
    // Copy the roots under the lock, scan outside it: a scan reads many files.
    std::optional<SysfsPorts> ports;
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        loaded = activeLibrary != nullptr;
        if (!loaded)
            return {};
        ports = activeLibrary->Ports();
    }
    return ports->Scan();
}

}  // namespace

}  // namespace sys::posix
