// marlox-demo's port inventory: the built-in SETUPAPI lists the simulated controller first and
// the machine's own ports below it.
#include "ui/linux/DemoPorts.h"

#include <memory>

#include "sys/DiscoveryPlatform.h"
#include "sys/MessageBox.h"
#include "sys/posix/PosixModuleLoader.h"
#include "ui/linux/DemoController.h"

namespace {

class DemoPlatform : public sys::DiscoveryPlatform {
public:
    sys::ModuleLoader& Modules() override
    {
        std::vector<sys::posix::SysfsPort> leading;
        if (!DemoControllerPath().empty()) {
            leading.push_back({"demo", DemoControllerPath(), "Simulated controller (demo)",
                               "Simulated controller", "Simulated"});
        }
        m_loader = std::make_unique<sys::posix::PosixModuleLoader>("/sys", "/dev", std::move(leading));
        return *m_loader;
    }
    sys::Registry& HardwareRegistry() override { return sys::SystemRegistry(); }
    sys::OsInfo& Os() override { return sys::SystemOsInfo(); }
    void ShowMessage(const std::string& text) override { sys::ShowMessage(text); }

private:
    std::unique_ptr<sys::posix::PosixModuleLoader> m_loader;
};

}  // namespace

void InstallDemoPorts()
{
    static DemoPlatform platform;
    sys::SetSystemDiscoveryPlatform(&platform);
}
