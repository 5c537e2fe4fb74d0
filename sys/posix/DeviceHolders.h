#pragma once
// Which processes hold a device open, found through /proc. Linux has no exclusive open: a tty
// opened plainly by another program (no flock, no TIOCEXCL) shows up only here.

#include <sys/types.h>

#include <string>
#include <vector>

namespace sys::posix {

struct DeviceHolder {
    pid_t pid = 0;
    std::string name;  // /proc/<pid>/comm, empty when unreadable
};

// The processes under procRoot (normally "/proc") with a descriptor on the character device
// `device` (st_rdev), in PID order. Processes whose descriptors cannot be read are skipped, and
// so is `self`. A process that also holds the master side of the same pseudo-terminal is its
// far end (a simulator, socat) rather than a competing user, and is not counted.
std::vector<DeviceHolder> FindDeviceHolders(const std::string& procRoot, dev_t device, pid_t self);

// "picocom (PID 1234)", or "PID 1234" when the name is unknown.
std::string DescribeHolder(const DeviceHolder& holder);

}  // namespace sys::posix
