// Linux lists its ports from sysfs: the running system's, or a tree laid out as /sys and /dev.
#include "sys/DiscoveryPlatform.h"
#include "sys/posix/SysfsPorts.h"

namespace sys {

namespace {

class RootedPlatform : public DiscoveryPlatform {
public:
    explicit RootedPlatform(const std::string& root) : m_inventory(root + "/sys", root + "/dev") {}
    const PortInventory* Inventory() override { return &m_inventory; }

private:
    posix::SysfsPorts m_inventory;
};

}  // namespace

DiscoveryPlatform& NativeDiscoveryPlatform() {
    static const posix::SysfsPorts inventory("/sys", "/dev");
    static InventoryPlatform platform(inventory);
    return platform;
}

std::unique_ptr<DiscoveryPlatform> DiscoveryPlatformUnder(const std::string& root) {
    return std::make_unique<RootedPlatform>(root);
}

}  // namespace sys
