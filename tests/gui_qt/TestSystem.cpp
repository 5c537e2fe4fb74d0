#include "tests/gui_qt/TestSystem.h"

#include <filesystem>

#include "sys/DiscoveryPlatform.h"
#include "sys/MessageBox.h"
#include "sys/posix/PosixModuleLoader.h"

namespace guitest {

namespace {

const TestPorts* g_current = nullptr;

class FailingOs : public sys::OsInfo {
public:
    bool GetVersion(sys::OsVersion&) override { return false; }
    std::uint32_t LastError() const override { return 5; }  // ERROR_ACCESS_DENIED
};

class TestPlatform : public sys::DiscoveryPlatform {
public:
    sys::ModuleLoader& Modules() override
    {
        // A loader over the current tree; with none, over a folder that lists no ports.
        m_loader = std::make_unique<sys::posix::PosixModuleLoader>(
            g_current ? g_current->SysRoot() : "/nonexistent", g_current ? g_current->DevRoot() : "/nonexistent",
            g_current ? g_current->Leading() : std::vector<sys::posix::SysfsPort>());
        return *m_loader;
    }
    sys::Registry& HardwareRegistry() override { return sys::SystemRegistry(); }
    sys::OsInfo& Os() override
    {
        if (g_current != nullptr && g_current->VersionFails())
            return m_failingOs;
        return sys::SystemOsInfo();
    }
    void ShowMessage(const std::string& text) override { sys::ShowMessage(text); }

private:
    std::unique_ptr<sys::posix::PosixModuleLoader> m_loader;
    FailingOs m_failingOs;
};

}  // namespace

TestPorts::TestPorts() : m_sysRoot(m_tree.SysRoot()), m_devRoot(m_tree.DevRoot()) { g_current = this; }

TestPorts::~TestPorts()
{
    if (g_current == this)
        g_current = nullptr;
}

sim::SimProcess& TestPorts::AddSim(const std::string& ttyName, const std::vector<std::string>& simArgs)
{
    m_sims.push_back(std::make_unique<sim::SimProcess>(simArgs));
    m_tree.AddUart(ttyName, 4);  // a 16550A
    const std::filesystem::path node = m_tree.Dev() / ttyName;
    std::filesystem::remove(node);
    m_tree.Link(node, m_sims.back()->Path());
    return *m_sims.back();
}

sim::SimProcess& TestPorts::AddLeadingSim(const std::string& friendlyName,
                                          const std::vector<std::string>& simArgs)
{
    m_sims.push_back(std::make_unique<sim::SimProcess>(simArgs));
    m_leading.push_back({"demo", m_sims.back()->Path(), friendlyName, "Simulated controller", "Simulated"});
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
