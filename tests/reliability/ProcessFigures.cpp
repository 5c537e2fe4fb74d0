#include "tests/reliability/ProcessFigures.h"

#include <dirent.h>

#include <fstream>
#include <string>

namespace soak {

std::size_t OpenDescriptors() {
    DIR* dir = ::opendir("/proc/self/fd");
    if (dir == nullptr) return 0;
    std::size_t count = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.') ++count;
    }
    ::closedir(dir);
    return count - 1;
}

std::size_t ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.compare(0, 6, "VmRSS:") == 0) return std::stoul(line.substr(6));
    }
    return 0;
}

}  // namespace soak
