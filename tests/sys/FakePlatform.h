#pragma once
// A whole fake Windows system for discovery: setup API, registry and version.

#include "sys/DiscoveryPlatform.h"
#include "tests/sys/FakeRegistry.h"
#include "tests/sys/FakeSetupApi.h"

#include <string>
#include <vector>

namespace fake {

class Os : public sys::OsInfo {
public:
    bool GetVersion(sys::OsVersion& out) override {
        if (versionError) {
            fake::LastError() = *versionError;
            return false;
        }
        out = version;
        return true;
    }
    std::uint32_t LastError() const override { return fake::LastError(); }

    sys::OsVersion version{5, sys::PLATFORM_WIN32_NT};
    std::optional<std::uint32_t> versionError;
};

class Platform : public sys::DiscoveryPlatform, public sys::WindowsServices {
public:
    sys::WindowsServices* Windows() override { return this; }
    sys::ModuleLoader& Modules() override { return setupApi; }
    sys::Registry& HardwareRegistry() override { return registry; }
    sys::OsInfo& Os() override { return os; }

    void UseVersion(std::uint32_t major, std::uint32_t platformId) {
        os.version = {major, platformId};
    }

    SetupApi setupApi;
    Registry registry;
    fake::Os os;
};

}  // namespace fake
