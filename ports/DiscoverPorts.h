#pragma once
// The one entry into port discovery: replaces the list's contents with the ports found.
// Throws DiscoveryFailure with the whole message text.

#include "ports/PortList.h"
#include "sys/DiscoveryPlatform.h"

void DiscoverPorts(PortList& ports);

// The same on the given platform: its own inventory where it has one; otherwise, on Windows,
// one of the three methods chosen by the version. A platform with neither is a programming
// error (std::logic_error).
void DiscoverPorts(PortList& ports, sys::DiscoveryPlatform& platform);
