// marlox-demo's port inventory: the simulated controller first, while it runs, and the
// machine's own ports below it.
#include "ui/linux/DemoPorts.h"

#include "sys/DiscoveryPlatform.h"
#include "sys/posix/SysfsPorts.h"
#include "ui/linux/DemoController.h"

namespace {

class DemoInventory : public sys::PortInventory {
public:
    std::vector<sys::InventoryPort> ListPorts() const override {
        // The controller starts after the inventory is installed: ask for its pty each time.
        std::vector<sys::InventoryPort> ports;
        if (!DemoControllerPath().empty()) {
            ports.push_back({DemoControllerPath(), "demo", "Simulated controller (demo)", false,
                             "Simulated controller"});
        }
        for (sys::InventoryPort& port : m_machine.ListPorts())
            ports.push_back(std::move(port));
        return ports;
    }

private:
    const sys::posix::SysfsPorts m_machine{"/sys", "/dev"};
};

}  // namespace

void InstallDemoPorts() {
    static const DemoInventory inventory;
    static sys::InventoryPlatform platform(inventory);
    sys::SetSystemDiscoveryPlatform(&platform);
}
