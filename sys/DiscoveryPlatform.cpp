#include "sys/DiscoveryPlatform.h"

#include "sys/MessageBox.h"

namespace sys {

namespace {

class SystemPlatform : public DiscoveryPlatform {
public:
    ModuleLoader& Modules() override { return SystemModuleLoader(); }
    Registry& HardwareRegistry() override { return SystemRegistry(); }
    OsInfo& Os() override { return SystemOsInfo(); }
    void ShowMessage(const std::string& text) override { sys::ShowMessage(text); }
};

DiscoveryPlatform*& InstalledPlatform() {
    static DiscoveryPlatform* installed = nullptr;
    return installed;
}

}  // namespace

DiscoveryPlatform& SystemDiscoveryPlatform() {
    static SystemPlatform platform;
    DiscoveryPlatform* installed = InstalledPlatform();
    return installed != nullptr ? *installed : platform;
}

void SetSystemDiscoveryPlatform(DiscoveryPlatform* platform) { InstalledPlatform() = platform; }

}  // namespace sys
