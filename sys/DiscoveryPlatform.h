#pragma once
// Everything port discovery asks of the operating system, in one place, so that tests can hand
// discovery a fake system.

#include "sys/Module.h"
#include "sys/OsVersion.h"
#include "sys/Registry.h"

#include <string>

namespace sys {

class DiscoveryPlatform {
public:
    virtual ~DiscoveryPlatform() = default;

    virtual ModuleLoader& Modules() = 0;
    virtual Registry& HardwareRegistry() = 0;
    virtual OsInfo& Os() = 0;
    // A modal message with an OK button; returns when it is closed.
    virtual void ShowMessage(const std::string& text) = 0;
};

// The running system's: SystemModuleLoader, SystemRegistry, SystemOsInfo and sys::ShowMessage,
// unless a program or test has installed another one.
DiscoveryPlatform& SystemDiscoveryPlatform();

// Makes `platform` what SystemDiscoveryPlatform() returns (nullptr: the running system's again).
// The caller keeps it alive while installed.
void SetSystemDiscoveryPlatform(DiscoveryPlatform* platform);

}  // namespace sys
