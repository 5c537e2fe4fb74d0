#pragma once
// The kernel's device events (uevents), read to learn that tty devices came or went. A
// datagram only ever prompts a new look at sysfs: nothing in it is used beyond that.

#include <cstddef>

#include "sys/posix/UniqueFd.h"

namespace sys::posix {

// Whether one uevent ("ACTION@DEVPATH", then "KEY=VALUE" fields, each ended by a NUL) reports a
// tty device added, removed or renamed. Reads at most size bytes; anything malformed is not.
bool IsTtyUevent(const char* data, std::size_t size);

class UeventSocket {
public:
    // The kernel's own multicast group of NETLINK_KOBJECT_UEVENT, non-blocking; not Valid()
    // where the system refuses one.
    static UeventSocket OpenKernel();
    // Any datagram socket standing in for the kernel, whose senders are not checked (tests).
    static UeventSocket FromDatagrams(UniqueFd fd);

    bool Valid() const { return m_fd.Valid(); }
    int Fd() const { return m_fd.Get(); }

    // Reads the datagrams waiting now, a bounded number of them. True when one reported a tty
    // coming or going, or when the kernel dropped events because the socket fell behind.
    bool ReadTtyEvents();

private:
    UeventSocket(UniqueFd fd, bool kernel) : m_fd(std::move(fd)), m_kernel(kernel) {}

    UniqueFd m_fd;
    bool m_kernel = false;
};

}  // namespace sys::posix
