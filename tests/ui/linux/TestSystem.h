#pragma once
// The system the dialog under test sees: its port inventory is a sysfs tree in a temporary
// folder whose ports are marlox-sim ptys (or discovery fails, as a failing Windows version
// query makes it).
//
// The program's DiscoverPorts(list) asks sys::SystemDiscoveryPlatform(); TestSystem.cpp installs
// this test system there before main runs.

#include <memory>
#include <string>
#include <vector>

#include "sys/PortInventory.h"
#include "tests/sim/SimProcess.h"
#include "tests/sys/SysfsTree.h"

namespace guitest {

class TestPorts {
public:
    TestPorts();   // becomes the system's port inventory
    ~TestPorts();  // and leaves an empty one behind
    TestPorts(const TestPorts&) = delete;
    TestPorts& operator=(const TestPorts&) = delete;

    // A built-in UART named ttyName whose /dev node is a new marlox-sim's pty.
    sim::SimProcess& AddSim(const std::string& ttyName, const std::vector<std::string>& simArgs);
    // A port listed before the tree's, as marlox-demo lists its simulated controller.
    sim::SimProcess& AddLeadingSim(const std::string& friendlyName,
                                   const std::vector<std::string>& simArgs);
    // Discovery throws: the platform takes the Windows path, whose version query fails.
    void FailVersionQuery() { m_failVersion = true; }

    // The tree, for adapters plugged in and out while a dialog is open.
    fake::SysfsTree& Tree() { return m_tree; }
    const std::string& SysRoot() const { return m_sysRoot; }
    const std::string& DevRoot() const { return m_devRoot; }
    bool VersionFails() const { return m_failVersion; }
    const std::vector<sys::InventoryPort>& Leading() const { return m_leading; }

private:
    fake::SysfsTree m_tree;
    std::string m_sysRoot;
    std::string m_devRoot;
    std::vector<std::unique_ptr<sim::SimProcess>> m_sims;
    std::vector<sys::InventoryPort> m_leading;
    bool m_failVersion = false;
};

}  // namespace guitest
