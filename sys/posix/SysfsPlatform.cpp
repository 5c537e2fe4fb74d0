// Linux lists its ports from sysfs.
#include "sys/DiscoveryPlatform.h"
#include "sys/posix/SysfsPorts.h"

namespace sys {

DiscoveryPlatform& NativeDiscoveryPlatform() {
    static const posix::SysfsPorts inventory("/sys", "/dev");
    static InventoryPlatform platform(inventory);
    return platform;
}

}  // namespace sys
