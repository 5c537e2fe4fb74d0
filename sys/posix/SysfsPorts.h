#pragma once
// The serial ports of a Linux machine as sysfs shows them: real tty devices only.

#include <string>
#include <vector>

namespace sys::posix {

struct SysfsPort {
    std::string name;          // ttyUSB0
    std::string devicePath;    // /dev/ttyUSB0
    std::string friendlyName;  // FT232R USB UART (ttyUSB0)
    std::string description;   // FT232R USB UART
    std::string location;      // begins with "USB" for a USB-attached port
};

// Every text is valid UTF-8 without control characters and short enough for the setup API's
// 256-byte property buffers.
class SysfsPorts {
public:
    // sysRoot is where sysfs is mounted (/sys), devRoot the device-node folder (/dev).
    // leading: ports listed before the scanned ones (marlox-demo's simulated controller).
    SysfsPorts(std::string sysRoot, std::string devRoot, std::vector<SysfsPort> leading = {});

    // Ports in natural name order (ttyS2 before ttyS10). Skips virtual ttys, phantom UARTs
    // (type 0, found without opening them) and entries that vanish while they are read.
    std::vector<SysfsPort> Scan() const;

private:
    std::string m_sysRoot;
    std::string m_devRoot;
    std::vector<SysfsPort> m_leading;
};

// Makes untrusted bytes displayable: invalid UTF-8 becomes '?', control characters become
// spaces, runs of spaces collapse, ends are trimmed, and the result is cut to at most
// maxBytes without splitting a character.
std::string SanitiseText(const std::string& raw, std::size_t maxBytes);

}  // namespace sys::posix
