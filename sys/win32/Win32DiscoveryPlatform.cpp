// Windows finds its ports through its own services: the setup API, the registry and the
// version query, as the three methods call them.
#include "sys/DiscoveryPlatform.h"

namespace sys {

namespace {

class Win32Services : public WindowsServices {
public:
    ModuleLoader& Modules() override { return SystemModuleLoader(); }
    Registry& HardwareRegistry() override { return SystemRegistry(); }
    OsInfo& Os() override { return SystemOsInfo(); }
};

class Win32Platform : public DiscoveryPlatform {
public:
    WindowsServices* Windows() override { return &m_services; }

private:
    Win32Services m_services;
};

}  // namespace

DiscoveryPlatform& NativeDiscoveryPlatform() {
    static Win32Platform platform;
    return platform;
}

std::unique_ptr<DiscoveryPlatform> DiscoveryPlatformUnder(const std::string&) { return nullptr; }

}  // namespace sys
