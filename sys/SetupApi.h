#pragma once
// The setup-API entry points that port discovery looks up by name, with records laid out
// exactly as Windows lays them out on the same pointer width, so that the real entry points
// can be called through these types. Sizes always come from sizeof: they differ between
// 32-bit (28, 28, 5) and 64-bit (32, 32, 8) builds.

#include <cstddef>
#include <cstdint>

// The entry points' calling convention: stdcall on 32-bit Windows, the default elsewhere.
#if defined(_WIN32) && !defined(_WIN64)
#define SYS_WINAPI __attribute__((stdcall))
#else
#define SYS_WINAPI
#endif

namespace sys {

using HDevInfo = void*;
inline HDevInfo InvalidDevInfo() {
    return reinterpret_cast<HDevInfo>(static_cast<std::intptr_t>(-1));
}

struct Guid {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
};

inline bool operator==(const Guid& a, const Guid& b) {
    if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3) return false;
    for (int i = 0; i < 8; ++i)
        if (a.data4[i] != b.data4[i]) return false;
    return true;
}

// {86E0D1E0-8089-11D0-9CE4-08003E301F73}
constexpr Guid COMPORT_INTERFACE_CLASS = {
    0x86E0D1E0, 0x8089, 0x11D0, {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};
// The device setup class "Ports": {4D36E978-E325-11CE-BFC1-08002BE10318}
constexpr Guid PORTS_SETUP_CLASS = {
    0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

// The Windows headers' names for these are macros; these names keep clear of them.
constexpr std::uint32_t CLASS_DEVS_PRESENT = 0x02;    // DIGCF_PRESENT
constexpr std::uint32_t CLASS_DEVS_INTERFACE = 0x10;  // DIGCF_DEVICEINTERFACE

constexpr std::uint32_t PROPERTY_DEVICEDESC = 0;             // SPDRP_DEVICEDESC
constexpr std::uint32_t PROPERTY_FRIENDLYNAME = 12;          // SPDRP_FRIENDLYNAME
constexpr std::uint32_t PROPERTY_LOCATION_INFORMATION = 13;  // SPDRP_LOCATION_INFORMATION

constexpr std::uint32_t INTERFACE_ACTIVE = 1;  // SPINT_ACTIVE
constexpr std::uint32_t TEXT_VALUE_TYPE = 1;   // REG_SZ

// Error codes the entry points leave behind.
constexpr std::uint32_t ERROR_INVALID_DATA_CODE = 13;
constexpr std::uint32_t ERROR_INVALID_PARAMETER_CODE = 87;
constexpr std::uint32_t ERROR_CALL_NOT_IMPLEMENTED_CODE = 120;
constexpr std::uint32_t ERROR_INSUFFICIENT_BUFFER_CODE = 122;
constexpr std::uint32_t ERROR_NO_MORE_ITEMS_CODE = 259;
constexpr std::uint32_t ERROR_INVALID_HANDLE_CODE = 6;
constexpr std::uint32_t ERROR_INVALID_USER_BUFFER_CODE = 1784;

// Windows packs the detail record to 1 byte on 32-bit, to 8 on 64-bit.
#if UINTPTR_MAX == 0xFFFFFFFFu
#pragma pack(push, 1)
#else
#pragma pack(push, 8)
#endif

struct SpDeviceInterfaceData {
    std::uint32_t cbSize;
    Guid interfaceClassGuid;
    std::uint32_t flags;
    std::uintptr_t reserved;
};

struct SpDevInfoData {
    std::uint32_t cbSize;
    Guid classGuid;
    std::uint32_t devInst;
    std::uintptr_t reserved;
};

struct SpDeviceInterfaceDetailDataA {
    std::uint32_t cbSize;
    char devicePath[1];  // the path continues past the record, to the end of the buffer
};

#pragma pack(pop)

constexpr bool IS_64_BIT = sizeof(void*) == 8;
static_assert(sizeof(SpDeviceInterfaceData) == (IS_64_BIT ? 32 : 28), "interface data layout");
static_assert(sizeof(SpDevInfoData) == (IS_64_BIT ? 32 : 28), "devinfo data layout");
static_assert(sizeof(SpDeviceInterfaceDetailDataA) == (IS_64_BIT ? 8 : 5), "detail data layout");
static_assert(offsetof(SpDeviceInterfaceDetailDataA, devicePath) == 4, "detail path offset");

// Windows BOOL: nonzero is success.
using Bool = int;

using SetupDiGetClassDevsAFn = HDevInfo(SYS_WINAPI*)(const Guid* classGuid, const char* enumerator,
                                                     void* parentWindow, std::uint32_t flags);
using SetupDiGetClassDevsWFn = HDevInfo(SYS_WINAPI*)(const Guid* classGuid,
                                                     const char16_t* enumerator, void* parentWindow,
                                                     std::uint32_t flags);
using SetupDiEnumDeviceInterfacesFn = Bool(SYS_WINAPI*)(HDevInfo set, SpDevInfoData* device,
                                                        const Guid* interfaceClassGuid,
                                                        std::uint32_t memberIndex,
                                                        SpDeviceInterfaceData* interfaceData);
using SetupDiGetDeviceInterfaceDetailAFn = Bool(SYS_WINAPI*)(
    HDevInfo set, SpDeviceInterfaceData* interfaceData, SpDeviceInterfaceDetailDataA* detail,
    std::uint32_t detailSize, std::uint32_t* requiredSize, SpDevInfoData* device);
// The wide variants are looked up but never called: their records are opaque here.
using SetupDiGetDeviceInterfaceDetailWFn = Bool(SYS_WINAPI*)(HDevInfo set,
                                                             SpDeviceInterfaceData* interfaceData,
                                                             void* detail, std::uint32_t detailSize,
                                                             std::uint32_t* requiredSize,
                                                             SpDevInfoData* device);
using SetupDiGetDeviceRegistryPropertyAFn = Bool(SYS_WINAPI*)(
    HDevInfo set, SpDevInfoData* device, std::uint32_t property, std::uint32_t* propertyType,
    std::uint8_t* buffer, std::uint32_t bufferSize, std::uint32_t* requiredSize);
using SetupDiGetDeviceRegistryPropertyWFn = Bool(SYS_WINAPI*)(
    HDevInfo set, SpDevInfoData* device, std::uint32_t property, std::uint32_t* propertyType,
    std::uint8_t* buffer, std::uint32_t bufferSize, std::uint32_t* requiredSize);
using SetupDiDestroyDeviceInfoListFn = Bool(SYS_WINAPI*)(HDevInfo set);

}  // namespace sys
