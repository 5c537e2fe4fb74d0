#pragma once
// Windows 95, 98 and Me: serial port instances found in the hardware tree under HKLM\Enum.

#include "ports/PortList.h"
#include "sys/Registry.h"

// Walks Enum\<first level>\<device>\<instance>, scanning the device keys "*PNP0500" and
// "*PNP0501" everywhere and every device key under "USBPORTS". Throws DiscoveryFailure once
// every key it opened is closed again.
void DiscoverRegistryPorts(PortList& ports, sys::Registry& registry);

// Scans the instance keys of an open device key; the caller keeps and closes that key.
void ScanPortInstances(sys::Registry& registry, sys::RegistryKey deviceKey, bool isUsb,
                       PortList& ports);
