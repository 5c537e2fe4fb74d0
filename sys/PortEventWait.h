#pragma once
// The command line's wait for serial ports to come or go, for the user to stop the program
// (Ctrl+C, SIGINT, SIGTERM), or for the reader of its output to go.

#include <memory>

namespace sys {

enum class WaitEnd {
    PortsChanged,  // the system told of a port coming or going
    TimedOut,      // the whole time passed without word: the caller looks for itself
    Stopped,       // the user asked the program to end
    OutputGone,    // nobody reads the standard output any more (Linux: a pipe's or socket's)
};

class PortEventWait {
public:
    virtual ~PortEventWait() = default;
    // Waits up to timeoutMs for the system's word, the user's stop or the reader's going.
    virtual WaitEnd Wait(int timeoutMs) = 0;
};

// For the running process: while it lives, a stop request ends the wait instead of the process.
// Where the system tells of no device events (Windows, a Linux refusing the uevent socket),
// Wait never ends with PortsChanged.
std::unique_ptr<PortEventWait> OpenPortEventWait();

}  // namespace sys
