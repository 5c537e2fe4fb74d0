#include "tools/sim/Pty.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <system_error>

namespace sim {
namespace {

[[noreturn]] void ThrowErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void MakeRaw(int fd, const std::string& what) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) ThrowErrno("tcgetattr " + what);
    cfmakeraw(&settings);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &settings) != 0) ThrowErrno("tcsetattr " + what);
}

}  // namespace

Pty::Pty() {
    m_master = sys::UniqueFd(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!m_master.Valid()) ThrowErrno("posix_openpt");
    if (grantpt(m_master.Get()) != 0) ThrowErrno("grantpt");
    if (unlockpt(m_master.Get()) != 0) ThrowErrno("unlockpt");
    char name[PATH_MAX];
    if (ptsname_r(m_master.Get(), name, sizeof name) != 0) ThrowErrno("ptsname");
    m_slavePath = name;

    // Raw from the start, so nothing is echoed or translated before a requester sets its own mode.
    m_slave = sys::UniqueFd(::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!m_slave.Valid()) ThrowErrno("open " + m_slavePath);
    MakeRaw(m_slave.Get(), m_slavePath);
    MakeRaw(m_master.Get(), "pty master");

    // Writes must never block the simulator on a requester that does not read.
    const int flags = fcntl(m_master.Get(), F_GETFL);
    if (flags < 0 || fcntl(m_master.Get(), F_SETFL, flags | O_NONBLOCK) != 0)
        ThrowErrno("fcntl pty master");
}

std::size_t Pty::PendingForRequester() const {
    int pending = 0;
    if (!m_slave.Valid() || ::ioctl(m_slave.Get(), FIONREAD, &pending) != 0 || pending < 0)
        return 0;
    return static_cast<std::size_t>(pending);
}

void Pty::HangUp() {
    m_master.Reset();
    m_slave.Reset();
}

ScopedSymlink::ScopedSymlink(const std::string& target, const std::string& linkPath)
    : m_target(target), m_linkPath(linkPath) {
    struct stat existing {};
    if (::lstat(linkPath.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            errno = EEXIST;
            ThrowErrno("--link " + linkPath + " (not a symlink)");
        }
        if (::unlink(linkPath.c_str()) != 0) ThrowErrno("unlink " + linkPath);
    }
    if (::symlink(target.c_str(), linkPath.c_str()) != 0) ThrowErrno("symlink " + linkPath);
}

ScopedSymlink::~ScopedSymlink() {
    // Another simulator may have taken the name over since: leave its link alone.
    char target[PATH_MAX];
    const ssize_t length = ::readlink(m_linkPath.c_str(), target, sizeof target - 1);
    if (length >= 0 && std::string(target, static_cast<std::size_t>(length)) == m_target)
        ::unlink(m_linkPath.c_str());
}

}  // namespace sim
