#pragma once
// The Linux wait, over any uevent source and output descriptor (tests hand in their own).

#include <memory>

#include "sys/PortEventWait.h"
#include "sys/posix/Uevents.h"

namespace sys::posix {

// Waits on events and the stop signals and, where output is a pipe or a socket, for its
// reader to go. OpenPortEventWait() passes the kernel's events and standard output.
std::unique_ptr<PortEventWait> OpenPortEventWait(UeventSocket events, int output);

}  // namespace sys::posix
