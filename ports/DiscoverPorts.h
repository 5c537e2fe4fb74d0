#pragma once
// The one entry into port discovery: replaces the list's contents with the ports found.
// Throws DiscoveryFailure with the whole message text.

#include "ports/PortList.h"
#include "sys/DiscoveryPlatform.h"

void DiscoverPorts(PortList& ports);

// The same on the given platform: the method is chosen by its version.
void DiscoverPorts(PortList& ports, sys::DiscoveryPlatform& platform);
