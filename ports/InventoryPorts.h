#pragma once
// A machine that keeps its own port inventory (Linux): its list, taken as it stands.

#include "ports/PortList.h"
#include "sys/PortInventory.h"

// Appends one entry per inventoried port, in the inventory's order; cannot fail.
void DiscoverInventoryPorts(PortList& ports, const sys::PortInventory& inventory);
