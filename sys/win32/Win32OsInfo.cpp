// The version through GetVersionExA; the last error through GetLastError.
#include "sys/OsVersion.h"

#include <windows.h>

namespace sys {

namespace {

static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA layout");

class Win32OsInfo : public OsInfo {
public:
    bool GetVersion(OsVersion& version) override {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        if (!::GetVersionExA(&info)) return false;
        version.majorVersion = info.dwMajorVersion;
        version.platformId = info.dwPlatformId;
        return true;
    }

    std::uint32_t LastError() const override { return ::GetLastError(); }
};

}  // namespace

OsInfo& SystemOsInfo() {
    static Win32OsInfo info;
    return info;
}

}  // namespace sys
