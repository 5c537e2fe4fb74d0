#pragma once
// The one entry into port discovery: replaces the list's contents with the ports found.
// Throws DiscoveryFailure with the whole message text.

#include "ports/PortList.h"

void DiscoverPorts(PortList& ports);
