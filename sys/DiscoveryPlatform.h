#pragma once
// Everything port discovery asks of the operating system, in one place, so that tests can hand
// discovery a fake system. A platform either keeps its own port inventory (Linux) or offers
// the Windows services that the three Windows methods are chosen among by version.

#include <memory>
#include <string>

#include "sys/Module.h"
#include "sys/OsVersion.h"
#include "sys/PortInventory.h"
#include "sys/Registry.h"

namespace sys {

// What the Windows methods call: the setup API loaded by name, the hardware registry, and the
// version query with its last error. Failures go back to the caller; nothing here shows them.
class WindowsServices {
public:
    virtual ~WindowsServices() = default;

    virtual ModuleLoader& Modules() = 0;
    virtual Registry& HardwareRegistry() = 0;
    virtual OsInfo& Os() = 0;
};

class DiscoveryPlatform {
public:
    virtual ~DiscoveryPlatform() = default;

    // The machine's own inventory; nullptr where the Windows methods find the ports.
    virtual const PortInventory* Inventory() { return nullptr; }
    // Asked only when there is no inventory.
    virtual WindowsServices* Windows() { return nullptr; }
};

// A platform whose ports come from an inventory, which the caller keeps alive.
class InventoryPlatform : public DiscoveryPlatform {
public:
    explicit InventoryPlatform(const PortInventory& inventory) : m_inventory(inventory) {}
    const PortInventory* Inventory() override { return &m_inventory; }

private:
    const PortInventory& m_inventory;
};

// The running system's (Windows: its services; Linux: the sysfs inventory), unless a program
// or test has installed another one.
DiscoveryPlatform& SystemDiscoveryPlatform();

// Makes `platform` what SystemDiscoveryPlatform() returns (nullptr: the running system's again).
// The caller keeps it alive while installed.
void SetSystemDiscoveryPlatform(DiscoveryPlatform* platform);

// The running system's own, whatever is installed. Each platform's folder defines it.
DiscoveryPlatform& NativeDiscoveryPlatform();

// The ports of a machine whose files lie under root (root/sys, root/dev): a recorded tree or a
// container's. nullptr where ports are not files (Windows).
std::unique_ptr<DiscoveryPlatform> DiscoveryPlatformUnder(const std::string& root);

}  // namespace sys
