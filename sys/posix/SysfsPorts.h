#pragma once
// The serial ports of a Linux machine as sysfs shows them: real tty devices only.

#include "sys/PortInventory.h"

#include <string>
#include <vector>

namespace sys::posix {

// Every text is valid UTF-8 without control characters, and a friendly name stays under 256
// bytes whatever the device reports.
class SysfsPorts : public PortInventory {
public:
    // sysRoot is where sysfs is mounted (/sys), devRoot the device-node folder (/dev).
    SysfsPorts(std::string sysRoot, std::string devRoot);

    // Ports in natural name order (ttyS2 before ttyS10). Skips virtual ttys, phantom UARTs
    // (type 0, found without opening them) and entries that vanish while they are read.
    std::vector<InventoryPort> ListPorts() const override;

private:
    std::string m_sysRoot;
    std::string m_devRoot;
};

// Makes untrusted bytes displayable: invalid UTF-8 becomes '?', control characters become
// spaces, runs of spaces collapse, ends are trimmed, and the result is cut to at most
// maxBytes without splitting a character.
std::string SanitiseText(const std::string& raw, std::size_t maxBytes);

}  // namespace sys::posix
