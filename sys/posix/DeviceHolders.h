#pragma once
// Which processes hold a device open, found through /proc. Linux has no exclusive open: a tty
// opened plainly by another program (no flock, no TIOCEXCL) shows up only here.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "sys/SerialPort.h"

namespace sys::posix {

// The processes under procRoot (normally "/proc") with a descriptor on the character device
// `device` (st_rdev), in PID order. Processes whose descriptors cannot be read are skipped, and
// so is `self`. A process that also holds the master side of the same pseudo-terminal is its
// far end (a simulator, socat) rather than a competing user, and is not counted.
// Only descriptors whose path lies under /dev are examined, and without asking their file
// system, so a stalled network or user-space file held open anywhere cannot stall the scan. The
// scan ends at the deadline with what it found by then.
std::vector<PortHolder> FindDeviceHolders(const std::string& procRoot, dev_t device, pid_t self,
                                          std::chrono::steady_clock::time_point deadline);

}  // namespace sys::posix
