#include "tests/ui/linux/TestSystem.h"

#include <filesystem>

#include "sys/DiscoveryPlatform.h"
#include "sys/posix/SysfsPorts.h"
#include "tests/sys/FakePlatform.h"

namespace guitest {

namespace {

const TestPorts* g_current = nullptr;

// The current test's tree and leading ports; with no test running, none.
class TestInventory : public sys::PortInventory {
public:
    std::vector<sys::InventoryPort> ListPorts() const override {
        if (g_current == nullptr) return {};
        std::vector<sys::InventoryPort> ports = g_current->Leading();
        for (sys::InventoryPort& port :
             sys::posix::SysfsPorts(g_current->SysRoot(), g_current->DevRoot()).ListPorts())
            ports.push_back(std::move(port));
        return ports;
    }
};

class TestPlatform : public sys::DiscoveryPlatform {
public:
    TestPlatform() { m_failing.os.versionError = 5; }  // ERROR_ACCESS_DENIED

    const sys::PortInventory* Inventory() override { return Fails() ? nullptr : &m_inventory; }
    // The sysfs inventory cannot fail: a failure comes from the Windows path.
    sys::WindowsServices* Windows() override { return Fails() ? m_failing.Windows() : nullptr; }

private:
    static bool Fails() { return g_current != nullptr && g_current->VersionFails(); }

    TestInventory m_inventory;
    fake::Platform m_failing;
};

}  // namespace

TestPorts::TestPorts() : m_sysRoot(m_tree.SysRoot()), m_devRoot(m_tree.DevRoot()) {
    g_current = this;
}

TestPorts::~TestPorts() {
    if (g_current == this) g_current = nullptr;
}

sim::SimProcess& TestPorts::AddSim(const std::string& ttyName,
                                   const std::vector<std::string>& simArgs) {
    m_sims.push_back(std::make_unique<sim::SimProcess>(simArgs));
    m_tree.AddUart(ttyName, 4);  // a 16550A
    const std::filesystem::path node = m_tree.Dev() / ttyName;
    std::filesystem::remove(node);
    m_tree.RelativeLink(node, m_sims.back()->Path());
    return *m_sims.back();
}

sim::SimProcess& TestPorts::AddLeadingSim(const std::string& friendlyName,
                                          const std::vector<std::string>& simArgs) {
    m_sims.push_back(std::make_unique<sim::SimProcess>(simArgs));
    m_leading.push_back(
        {m_sims.back()->Path(), "demo", friendlyName, false, "Simulated controller"});
    return *m_sims.back();
}

}  // namespace guitest

namespace {

// Installed before main runs, so every dialog of this binary lists the test's ports only.
const bool g_installed = [] {
    static guitest::TestPlatform platform;
    sys::SetSystemDiscoveryPlatform(&platform);
    return true;
}();

}  // namespace
