#pragma once
// The serial ports as the machine itself keeps count of them, in neutral terms. Where a
// platform has such an inventory, discovery takes its list as it stands.

#include <string>
#include <vector>

namespace sys {

// The fields, their names and their order are those of the list's PortEntry, which takes each
// record as it is.
struct InventoryPort {
    std::string devicePath;    // what the serial layer opens: /dev/ttyUSB0
    std::string portName;      // ttyUSB0
    std::string friendlyName;  // FT232R USB UART (ttyUSB0)
    bool isUsb = false;        // on USB; a Bluetooth port on a USB dongle is not
    std::string description;   // FT232R USB UART
};

class PortInventory {
public:
    virtual ~PortInventory() = default;

    // The ports present now, in the order the user sees them. Never fails: a port that cannot
    // be read is not listed, and a machine without ports lists none.
    virtual std::vector<InventoryPort> ListPorts() const = 0;
};

}  // namespace sys
