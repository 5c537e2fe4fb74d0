#include "tests/sys/FakeSetupApi.h"

#include <algorithm>
#include <cstring>

namespace fake {

namespace {

constexpr std::uint32_t ACCESS_DENIED = 5;
const int setToken = 0;
sys::HDevInfo TheSet() { return const_cast<int*>(&setToken); }

sys::Bool Fail(std::uint32_t code) {
    LastError() = code;
    return 0;
}

// Buffers are left full of filler around what is written, as stale memory would be.
void Fill(void* buffer, std::size_t size) { std::memset(buffer, 'X', size); }

sys::HDevInfo SYS_WINAPI GetClassDevsA(const sys::Guid* classGuid, const char* enumerator,
                                       void* parent, std::uint32_t flags) {
    SetupApi& api = *SetupApi::current;
    api.events.push_back("class query");
    api.classQueryFlags = flags;
    api.classQueryArgumentsOk = classGuid != nullptr &&
                                *classGuid == sys::COMPORT_INTERFACE_CLASS &&
                                enumerator == nullptr && parent == nullptr;
    if (api.classQueryError) {
        LastError() = *api.classQueryError;
        return sys::InvalidDevInfo();
    }
    return TheSet();
}

sys::HDevInfo SYS_WINAPI GetClassDevsW(const sys::Guid*, const char16_t*, void*, std::uint32_t) {
    SetupApi::current->events.push_back("wide call");
    return sys::InvalidDevInfo();
}

sys::Bool SYS_WINAPI EnumDeviceInterfaces(sys::HDevInfo set, sys::SpDevInfoData* device,
                                          const sys::Guid* guid, std::uint32_t index,
                                          sys::SpDeviceInterfaceData* data) {
    SetupApi& api = *SetupApi::current;
    if (set != TheSet() || device != nullptr || guid == nullptr ||
        !(*guid == sys::COMPORT_INTERFACE_CLASS))
        return Fail(ACCESS_DENIED);
    if (data == nullptr || data->cbSize != sizeof(sys::SpDeviceInterfaceData))
        return Fail(sys::ERROR_INVALID_USER_BUFFER_CODE);
    if (api.enumFailure && api.enumFailure->index == index) return Fail(api.enumFailure->code);
    if (index >= api.interfaces.size()) return Fail(sys::ERROR_NO_MORE_ITEMS_CODE);
    data->reserved = index + 1;
    return 1;
}

const Interface* Member(std::uintptr_t reserved) {
    const auto& interfaces = SetupApi::current->interfaces;
    return reserved >= 1 && reserved <= interfaces.size() ? &interfaces[reserved - 1] : nullptr;
}

sys::Bool SYS_WINAPI GetDetailA(sys::HDevInfo set, sys::SpDeviceInterfaceData* data,
                                sys::SpDeviceInterfaceDetailDataA* detail, std::uint32_t size,
                                std::uint32_t* required, sys::SpDevInfoData* device) {
    SetupApi& api = *SetupApi::current;
    api.detailSize = size;
    if (set != TheSet() || data == nullptr || required != nullptr || device == nullptr)
        return Fail(ACCESS_DENIED);
    if (detail == nullptr || detail->cbSize != sizeof(sys::SpDeviceInterfaceDetailDataA) ||
        device->cbSize != sizeof(sys::SpDevInfoData))
        return Fail(sys::ERROR_INVALID_USER_BUFFER_CODE);
    if (api.detailFailure && api.detailFailure->index + 1 == data->reserved)
        return Fail(api.detailFailure->code);
    const Interface* member = Member(data->reserved);
    if (member == nullptr) return Fail(sys::ERROR_INVALID_PARAMETER_CODE);
    const std::size_t offset = offsetof(sys::SpDeviceInterfaceDetailDataA, devicePath);
    if (offset + member->devicePath.size() + 1 > size)
        return Fail(sys::ERROR_INSUFFICIENT_BUFFER_CODE);
    Fill(detail->devicePath, size - offset);
    std::memcpy(detail->devicePath, member->devicePath.c_str(), member->devicePath.size() + 1);
    device->reserved = data->reserved;
    return 1;
}

sys::Bool SYS_WINAPI GetDetailW(sys::HDevInfo, sys::SpDeviceInterfaceData*, void*, std::uint32_t,
                                std::uint32_t*, sys::SpDevInfoData*) {
    SetupApi::current->events.push_back("wide call");
    return 0;
}

sys::Bool SYS_WINAPI GetPropertyA(sys::HDevInfo set, sys::SpDevInfoData* device,
                                  std::uint32_t property, std::uint32_t* type, std::uint8_t* buffer,
                                  std::uint32_t size, std::uint32_t* required) {
    if (set != TheSet() || device == nullptr || type != nullptr || required != nullptr)
        return Fail(ACCESS_DENIED);
    if (device->cbSize != sizeof(sys::SpDevInfoData))
        return Fail(sys::ERROR_INVALID_USER_BUFFER_CODE);
    const Interface* member = Member(device->reserved);
    if (member == nullptr) return Fail(sys::ERROR_INVALID_PARAMETER_CODE);
    const std::optional<std::string>& text =
        property == sys::PROPERTY_FRIENDLYNAME ? member->friendlyName
        : property == sys::PROPERTY_DEVICEDESC ? member->description
                                               : member->location;
    if (!text) return Fail(sys::ERROR_INVALID_DATA_CODE);
    if (text->size() + 1 > size) return Fail(sys::ERROR_INSUFFICIENT_BUFFER_CODE);
    Fill(buffer, size);
    std::memcpy(buffer, text->c_str(), text->size() + 1);
    return 1;
}

sys::Bool SYS_WINAPI GetPropertyW(sys::HDevInfo, sys::SpDevInfoData*, std::uint32_t, std::uint32_t*,
                                  std::uint8_t*, std::uint32_t, std::uint32_t*) {
    SetupApi::current->events.push_back("wide call");
    return 0;
}

sys::Bool SYS_WINAPI Destroy(sys::HDevInfo set) {
    SetupApi::current->events.push_back(set == TheSet() ? "destroy" : "destroy foreign set");
    return 1;
}

template <typename EntryPointType>
sys::EntryPoint Erase(EntryPointType entryPoint) {
    return reinterpret_cast<sys::EntryPoint>(entryPoint);
}

class Module : public sys::Module {
public:
    explicit Module(SetupApi& api) : m_api(api) {}
    ~Module() override { m_api.events.push_back("free"); }

    sys::EntryPoint Find(const char* name) const override {
        m_api.events.push_back(std::string("find ") + name);
        if (name == m_api.missingEntryPoint) return nullptr;
        const std::string n = name;
        if (n == "SetupDiGetClassDevsW")
            return Erase(static_cast<sys::SetupDiGetClassDevsWFn>(GetClassDevsW));
        if (n == "SetupDiGetClassDevsA")
            return Erase(static_cast<sys::SetupDiGetClassDevsAFn>(GetClassDevsA));
        if (n == "SetupDiEnumDeviceInterfaces")
            return Erase(static_cast<sys::SetupDiEnumDeviceInterfacesFn>(EnumDeviceInterfaces));
        if (n == "SetupDiGetDeviceInterfaceDetailA")
            return Erase(static_cast<sys::SetupDiGetDeviceInterfaceDetailAFn>(GetDetailA));
        if (n == "SetupDiGetDeviceInterfaceDetailW")
            return Erase(static_cast<sys::SetupDiGetDeviceInterfaceDetailWFn>(GetDetailW));
        if (n == "SetupDiGetDeviceRegistryPropertyA")
            return Erase(static_cast<sys::SetupDiGetDeviceRegistryPropertyAFn>(GetPropertyA));
        if (n == "SetupDiGetDeviceRegistryPropertyW")
            return Erase(static_cast<sys::SetupDiGetDeviceRegistryPropertyWFn>(GetPropertyW));
        if (n == "SetupDiDestroyDeviceInfoList")
            return Erase(static_cast<sys::SetupDiDestroyDeviceInfoListFn>(Destroy));
        return nullptr;
    }

private:
    SetupApi& m_api;
};

}  // namespace

std::uint32_t& LastError() {
    static std::uint32_t code = 0;
    return code;
}

SetupApi* SetupApi::current = nullptr;

SetupApi::SetupApi() { current = this; }
SetupApi::~SetupApi() { current = nullptr; }

std::unique_ptr<sys::Module> SetupApi::Load(const char* name) {
    events.push_back(std::string("load ") + name);
    if (!loads) {
        LastError() = 126;
        return nullptr;
    }
    return std::make_unique<Module>(*this);
}

std::vector<std::string> SetupApi::EventsWithoutLookups() const {
    std::vector<std::string> kept;
    std::copy_if(events.begin(), events.end(), std::back_inserter(kept),
                 [](const std::string& e) { return e.rfind("find ", 0) != 0; });
    return kept;
}

int SetupApi::Count(const std::string& event) const {
    return static_cast<int>(std::count(events.begin(), events.end(), event));
}

}  // namespace fake
