// The portable records of sys/SetupApi.h must match the real ones byte for byte, since the
// real entry points are called through them.
#include "sys/SetupApi.h"

#include <windows.h>
#include <setupapi.h>

#include <cstddef>

namespace sys {

static_assert(sizeof(SpDeviceInterfaceData) == sizeof(SP_DEVICE_INTERFACE_DATA), "size");
static_assert(offsetof(SpDeviceInterfaceData, reserved) ==
                  offsetof(SP_DEVICE_INTERFACE_DATA, Reserved),
              "layout");
static_assert(sizeof(SpDevInfoData) == sizeof(SP_DEVINFO_DATA), "size");
static_assert(offsetof(SpDevInfoData, devInst) == offsetof(SP_DEVINFO_DATA, DevInst), "layout");
static_assert(offsetof(SpDevInfoData, reserved) == offsetof(SP_DEVINFO_DATA, Reserved), "layout");
static_assert(sizeof(SpDeviceInterfaceDetailDataA) == sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A),
              "size");
static_assert(offsetof(SpDeviceInterfaceDetailDataA, devicePath) ==
                  offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath),
              "layout");
static_assert(sizeof(Guid) == sizeof(GUID), "size");
static_assert(CLASS_DEVS_PRESENT == DIGCF_PRESENT && CLASS_DEVS_INTERFACE == DIGCF_DEVICEINTERFACE,
              "flags");
static_assert(PROPERTY_FRIENDLYNAME == SPDRP_FRIENDLYNAME &&
                  PROPERTY_DEVICEDESC == SPDRP_DEVICEDESC &&
                  PROPERTY_LOCATION_INFORMATION == SPDRP_LOCATION_INFORMATION,
              "property codes");
static_assert(ERROR_NO_MORE_ITEMS_CODE == ERROR_NO_MORE_ITEMS, "error code");

}  // namespace sys
