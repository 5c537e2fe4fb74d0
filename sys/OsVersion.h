#pragma once
// The operating system's version, and the error code of the last failed system call.

#include <cstdint>

namespace sys {

constexpr std::uint32_t PLATFORM_WIN32_WINDOWS = 1;  // Windows 95, 98 and Me
constexpr std::uint32_t PLATFORM_WIN32_NT = 2;

struct OsVersion {
    std::uint32_t majorVersion = 0;
    std::uint32_t platformId = 0;
};

class OsInfo {
public:
    virtual ~OsInfo() = default;

    // false when the query fails; LastError() then gives the reason.
    virtual bool GetVersion(OsVersion& version) = 0;
    // The calling thread's last error code, as the failed call left it.
    virtual std::uint32_t LastError() const = 0;
};

// Windows' (GetVersionExA, GetLastError). Other platforms have none: they keep a port inventory.
OsInfo& SystemOsInfo();

}  // namespace sys
