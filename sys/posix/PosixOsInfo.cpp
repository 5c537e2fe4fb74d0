// Linux answers as a Windows 2000 or later NT system would, so that the driver chooses the
// device-interface method and its built-in setup API.
#include "sys/OsVersion.h"
#include "sys/posix/LastError.h"

namespace sys {

namespace posix {

namespace {
thread_local std::uint32_t lastError = 0;
}

void SetLastErrorCode(std::uint32_t code) { lastError = code; }
std::uint32_t LastErrorCode() { return lastError; }

}  // namespace posix

namespace {

class PosixOsInfo : public OsInfo {
public:
    bool GetVersion(OsVersion& version) override {
        version.majorVersion = 5;
        version.platformId = PLATFORM_WIN32_NT;
        return true;
    }
    std::uint32_t LastError() const override { return posix::LastErrorCode(); }
};

}  // namespace

OsInfo& SystemOsInfo() {
    static PosixOsInfo info;
    return info;
}

}  // namespace sys
