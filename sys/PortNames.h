#pragma once
// How the running system names its serial ports.

namespace sys {

// Windows names ports COM1, COM2, ... and opens them through the device namespace (\\.\COM3);
// elsewhere a port is named and opened by its path.
#ifdef _WIN32
constexpr bool WINDOWS_PORT_NAMES = true;
#else
constexpr bool WINDOWS_PORT_NAMES = false;
#endif

}  // namespace sys
