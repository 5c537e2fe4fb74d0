#include "ports/InventoryPorts.h"

void DiscoverInventoryPorts(PortList& ports, const sys::PortInventory& inventory) {
    for (const sys::InventoryPort& port : inventory.ListPorts())
        ports.Append(
            {port.devicePath, port.portName, port.displayName, port.isUsb, port.description});
}
