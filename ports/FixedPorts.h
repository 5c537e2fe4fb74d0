#pragma once
// The NT family before Windows 2000 has no port inventory: offer COM1 to COM16.

#include "ports/PortList.h"

// Appends COM1 to COM16 with device paths \\.\COMn; asks the system nothing and cannot fail.
void DiscoverFixedPorts(PortList& ports);
