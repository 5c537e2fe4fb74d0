#include "sys/StandardDescriptors.h"

#include <fcntl.h>

#include <cerrno>

namespace sys {

bool ReserveStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // open takes the lowest free number, this one. Held for the life of the process.
        if (::open("/dev/null", O_RDONLY) != fd) return false;
    }
    return true;
}

}  // namespace sys
