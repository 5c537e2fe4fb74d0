#pragma once
// The calling thread's last error code, as the built-in setup API leaves it for
// OsInfo::LastError (the Linux counterpart of SetLastError / GetLastError).

#include <cstdint>

namespace sys::posix {

void SetLastErrorCode(std::uint32_t code);
std::uint32_t LastErrorCode();

}  // namespace sys::posix
