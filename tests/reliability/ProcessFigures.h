#pragma once
// This process's open descriptors and resident memory, as the kernel reports them.

#include <cstddef>

namespace soak {

// Entries of /proc/self/fd, the one opened to count them excluded.
std::size_t OpenDescriptors();

// VmRSS of /proc/self/status in kB; 0 when it cannot be read.
std::size_t ResidentKilobytes();

}  // namespace soak
