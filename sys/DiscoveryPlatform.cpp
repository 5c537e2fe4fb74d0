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

}  // namespace

DiscoveryPlatform& SystemDiscoveryPlatform() {
    static SystemPlatform platform;
    return platform;
}

}  // namespace sys
