#include "sys/posix/DeviceHolders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>

namespace sys::posix {
namespace {

// Unix 98 pseudo-terminals: slaves on majors 136-143, every master on /dev/ptmx (5, 2).
constexpr unsigned PTY_SLAVE_MAJOR = 136;
constexpr unsigned PTY_SLAVE_MAJOR_COUNT = 8;
const dev_t PTY_MASTER_DEVICE = makedev(5, 2);

using Clock = std::chrono::steady_clock;
using Directory = std::unique_ptr<DIR, int (*)(DIR*)>;

Directory OpenDirectory(const std::string& path) { return {::opendir(path.c_str()), ::closedir}; }

std::optional<pid_t> ParsePid(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value <= 0) return std::nullopt;
    return static_cast<pid_t>(value);
}

std::optional<unsigned> PtyIndex(dev_t device) {
    const unsigned major = ::major(device);
    if (major < PTY_SLAVE_MAJOR || major >= PTY_SLAVE_MAJOR + PTY_SLAVE_MAJOR_COUNT)
        return std::nullopt;
    return (major - PTY_SLAVE_MAJOR) * 256 + ::minor(device);
}

// The pty a master descriptor belongs to, from its fdinfo (Linux 5.x and later say so).
std::optional<unsigned> MasterIndex(const std::string& fdinfoPath) {
    std::ifstream info(fdinfoPath);
    std::string key;
    unsigned long value = 0;
    while (info >> key) {
        if (key == "tty-index:" && info >> value) return static_cast<unsigned>(value);
        info.ignore(4096, '\n');
    }
    return std::nullopt;
}

std::string ReadName(const std::string& commPath) {
    std::ifstream comm(commPath);
    std::string name;
    std::getline(comm, name);
    return name;
}

// The character device a descriptor is open on, when its path lies under /dev. Anything else
// (a socket, a pipe, a file on a stalled mount) is never looked at beyond its link text, and
// the status is the cached one: no request reaches the device's file system.
std::optional<dev_t> CharacterDevice(const std::string& fdPath) {
    char target[64];
    const ssize_t length = ::readlink(fdPath.c_str(), target, sizeof target);
    if (length <= 0 || std::string(target, static_cast<std::size_t>(length)).rfind("/dev/", 0) != 0)
        return std::nullopt;
    struct statx status {};
    if (::statx(AT_FDCWD, fdPath.c_str(), AT_STATX_DONT_SYNC, STATX_TYPE, &status) != 0 ||
        !S_ISCHR(status.stx_mode))
        return std::nullopt;
    return makedev(status.stx_rdev_major, status.stx_rdev_minor);
}

// True when the process holds the device and is not the far end of the same pty.
bool Holds(const std::string& processDir, dev_t device, std::optional<unsigned> ptyIndex,
           Clock::time_point deadline) {
    const Directory fds = OpenDirectory(processDir + "/fd");
    if (!fds) return false;  // gone, or not ours to look at
    bool holdsDevice = false;
    bool holdsMaster = false;
    while (const dirent* entry = ::readdir(fds.get())) {
        if (entry->d_name[0] == '.') continue;
        if (Clock::now() >= deadline) return false;  // not looked at in full
        const std::optional<dev_t> target = CharacterDevice(processDir + "/fd/" + entry->d_name);
        if (target == device)
            holdsDevice = true;
        else if (ptyIndex && target == PTY_MASTER_DEVICE &&
                 MasterIndex(processDir + "/fdinfo/" + entry->d_name) == ptyIndex)
            holdsMaster = true;
    }
    return holdsDevice && !holdsMaster;
}

}  // namespace

std::vector<PortHolder> FindDeviceHolders(const std::string& procRoot, dev_t device, pid_t self,
                                          Clock::time_point deadline) {
    std::vector<PortHolder> holders;
    const Directory processes = OpenDirectory(procRoot);
    if (!processes) return holders;
    const std::optional<unsigned> ptyIndex = PtyIndex(device);
    while (const dirent* entry = ::readdir(processes.get())) {
        if (Clock::now() >= deadline) break;
        const std::optional<pid_t> pid = ParsePid(entry->d_name);
        if (!pid || *pid == self) continue;
        const std::string processDir = procRoot + "/" + entry->d_name;
        if (Holds(processDir, device, ptyIndex, deadline))
            holders.push_back({*pid, ReadName(processDir + "/comm")});
    }
    std::sort(holders.begin(), holders.end(),
              [](const PortHolder& a, const PortHolder& b) { return a.pid < b.pid; });
    return holders;
}

}  // namespace sys::posix
