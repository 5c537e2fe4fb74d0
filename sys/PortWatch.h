#pragma once
// Waiting, on the command line, for serial ports to come or go, or for the user to stop the
// program (Ctrl+C, SIGINT, SIGTERM).

#include <memory>
#include <string>

#include "sys/DiscoveryPlatform.h"

namespace sys {

enum class WatchWake {
    PortsChanged,  // the system told of a port coming or going
    TimedOut,      // nothing said in time: the caller looks for itself
    Stopped,       // the user asked the program to end
};

class PortWatch {
public:
    virtual ~PortWatch() = default;
    // Waits up to timeoutMs for the system's word or the user's stop.
    virtual WatchWake Wait(int timeoutMs) = 0;
};

// For the running process: while it lives, a stop request ends the wait instead of the process.
// Without the system's device events, Wait only times out or stops.
std::unique_ptr<PortWatch> OpenPortWatch();

// The ports of a machine whose files lie under root (root/sys, root/dev): a recorded tree or a
// container's. nullptr where ports are not files (Windows).
std::unique_ptr<DiscoveryPlatform> DiscoveryPlatformUnder(const std::string& root);

}  // namespace sys
