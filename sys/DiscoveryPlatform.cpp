#include "sys/DiscoveryPlatform.h"

namespace sys {

namespace {

DiscoveryPlatform*& InstalledPlatform() {
    static DiscoveryPlatform* installed = nullptr;
    return installed;
}

}  // namespace

DiscoveryPlatform& SystemDiscoveryPlatform() {
    DiscoveryPlatform* installed = InstalledPlatform();
    return installed != nullptr ? *installed : NativeDiscoveryPlatform();
}

void SetSystemDiscoveryPlatform(DiscoveryPlatform* platform) { InstalledPlatform() = platform; }

}  // namespace sys
