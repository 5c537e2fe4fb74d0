#pragma once
// Windows 2000 and later: the present devices offering the COM-port interface, through the
// setup API loaded by name at run time.

#include "ports/PortList.h"
#include "sys/DiscoveryPlatform.h"
#include "sys/SetupApi.h"

#include <memory>

// The loaded library and its eight entry points. Held by one run only: releasing the library
// leaves nothing behind for a later run to call by mistake.
struct SetupApi {
    std::unique_ptr<sys::Module> library;
    sys::SetupDiGetClassDevsWFn getClassDevsW = nullptr;
    sys::SetupDiGetClassDevsAFn getClassDevsA = nullptr;
    sys::SetupDiEnumDeviceInterfacesFn enumDeviceInterfaces = nullptr;
    sys::SetupDiGetDeviceInterfaceDetailAFn getDeviceInterfaceDetailA = nullptr;
    sys::SetupDiGetDeviceInterfaceDetailWFn getDeviceInterfaceDetailW = nullptr;
    sys::SetupDiGetDeviceRegistryPropertyAFn getDeviceRegistryPropertyA = nullptr;
    sys::SetupDiGetDeviceRegistryPropertyWFn getDeviceRegistryPropertyW = nullptr;
    sys::SetupDiDestroyDeviceInfoListFn destroyDeviceInfoList = nullptr;
};

// Loads "SETUPAPI" and looks up all eight entry points. A library that does not load throws
// DiscoveryFailure "Can't Load SETUPAPI.DLL"; a missing entry point releases it and throws
// SilentDiscoveryFailure.
void LoadSetupApi(sys::ModuleLoader& modules, SetupApi& api);

// Appends one entry per interface that has both a friendly name and a device description.
// Throws DiscoveryFailure after releasing everything it obtained; a library that does not load
// or lacks an entry point ends the run before anything is appended (see LoadSetupApi).
void DiscoverInterfacePorts(PortList& ports, sys::WindowsServices& windows);
