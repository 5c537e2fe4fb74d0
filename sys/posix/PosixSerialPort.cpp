#include "sys/posix/PosixSerialPort.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <vector>

#include "sys/posix/DeviceHolders.h"
#include "sys/posix/TermiosSettings.h"

namespace sys {
namespace {

using Clock = std::chrono::steady_clock;

std::string ErrorText(int error) { return std::strerror(error); }

bool InGroup(gid_t group) {
    if (::getegid() == group) return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<std::size_t>(count) : 0);
    const int listed = ::getgroups(count, groups.data());
    return std::find(groups.begin(), groups.begin() + std::max(listed, 0), group) !=
           groups.begin() + std::max(listed, 0);
}

std::string GroupName(gid_t group) {
    std::vector<char> buffer(4096);
    struct group entry {};
    struct group* found = nullptr;
    if (::getgrgid_r(group, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
        return found->gr_name;
    return std::to_string(group);
}

// The usual cure for a denied serial port is membership of the group that owns it (dialout,
// uucp): say which, when the group may read and write the device and the user is not in it.
std::string PermissionReason(const std::string& path) {
    const std::string denied = "permission denied";
    struct stat device {};
    if (::stat(path.c_str(), &device) != 0 ||
        (device.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP) || InGroup(device.st_gid))
        return denied;
    return denied + ": the device belongs to group " + GroupName(device.st_gid) +
           "; the user must be a member of it";
}

std::string InUseReason(const std::vector<posix::DeviceHolder>& holders) {
    if (holders.empty()) return "in use by another program";  // one this user may not see
    std::string reason = "in use by ";
    for (std::size_t i = 0; i < holders.size(); ++i)
        reason += (i > 0 ? ", " : "") + posix::DescribeHolder(holders[i]);
    return reason;
}

std::string OpenFailure(int error, const std::string& path) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO: return "no such device";
    case EACCES:
    case EPERM: return PermissionReason(path);
    case ENOTTY: return "not a serial port";
    default: return ErrorText(error);
    }
}

int MillisecondsLeft(Clock::time_point deadline) {
    // Rounded up: an empty read never returns before its time-out.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

// Waits for the events until the deadline. Returns the revents, 0 on time-out, -1 on failure.
int WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, MillisecondsLeft(deadline));
        if (ready > 0) return entry.revents;
        if (ready == 0) return 0;
        if (errno != EINTR) return -1;
    }
}

Clock::time_point DeadlineAfter(std::uint64_t milliseconds) {
    return Clock::now() + std::chrono::milliseconds(std::min<std::uint64_t>(milliseconds, INT_MAX));
}

}  // namespace

PosixSerialPort::PosixSerialPort(UniqueFd fd, posix::UucpLock lock, bool clearExclusive)
    : m_lock(std::move(lock)), m_fd(std::move(fd)), m_clearExclusive(clearExclusive) {}

PosixSerialPort::~PosixSerialPort() {
    // A pty outlives its slave's close while the other side stays open, and keeps the
    // exclusive flag: without this the next open by a non-root user would fail with EBUSY.
    // A flag that was set before the open belongs to another holder and stays.
    if (m_clearExclusive) ::ioctl(m_fd.Get(), TIOCNXCL);
}

void PosixSerialPort::Discard(DiscardScope scope) {
    ::tcflush(m_fd.Get(), scope == DiscardScope::All ? TCIOFLUSH : TCIFLUSH);
}

bool PosixSerialPort::SetByteWait(std::uint32_t milliseconds) {
    if (milliseconds == 0) return false;
    m_byteWaitMs = milliseconds;
    return true;
}

bool PosixSerialPort::ApplyLineSettings(const LineSettings& settings) {
    return ApplyTermiosSettings(m_fd.Get(), settings, IsPseudoTerminal(m_fd.Get()));
}

bool PosixSerialPort::WriteAndFlush(const std::uint8_t* data, std::size_t count) {
    // The byte wait for the first byte, 1 ms for each further one: at any usual speed a byte
    // leaves in well under a millisecond.
    const auto deadline = DeadlineAfter(std::uint64_t{m_byteWaitMs} + (count > 0 ? count - 1 : 0));
    std::size_t written = 0;
    while (written < count) {
        const ssize_t result = ::write(m_fd.Get(), data + written, count - written);
        if (result > 0) {
            written += static_cast<std::size_t>(result);
            continue;
        }
        if (result < 0 && errno == EINTR) continue;
        if (result < 0 && errno != EAGAIN) return false;
        const int events = WaitFor(m_fd.Get(), POLLOUT, deadline);
        if (events <= 0 || (events & (POLLERR | POLLHUP | POLLNVAL)) != 0) return false;
    }
    return ::tcdrain(m_fd.Get()) == 0;
}

ReadStatus PosixSerialPort::ReadByte(std::uint8_t& byte) {
    const auto deadline = DeadlineAfter(m_byteWaitMs);
    for (;;) {
        const int events = WaitFor(m_fd.Get(), POLLIN, deadline);
        if (events == 0) return ReadStatus::Empty;
        if (events < 0 || (events & POLLNVAL) != 0) return ReadStatus::Failed;
        // Data still waiting is read even after a hang-up; read() then reports the end.
        const ssize_t result = ::read(m_fd.Get(), &byte, 1);
        if (result == 1) return ReadStatus::Byte;
        if (result == 0) return ReadStatus::Failed;  // the other end hung up
        if (errno != EAGAIN && errno != EINTR) return ReadStatus::Failed;
        if ((events & (POLLHUP | POLLERR)) != 0) return ReadStatus::Failed;
    }
}

void PosixSerialPort::ClearError() {
    // termios keeps no sticky error state to reset (parity and framing errors arrive in-band
    // and are not checked). What can be cleared is suspended output; TCION is not used since
    // it would put a START character on the wire.
    ::tcflow(m_fd.Get(), TCOON);
}

PosixSerialPorts::PosixSerialPorts(std::string lockDir, std::string procRoot)
    : m_lockDir(std::move(lockDir)), m_procRoot(std::move(procRoot)) {}

std::unique_ptr<SerialPort> PosixSerialPorts::OpenExclusive(const std::string& path) {
    m_lastOpenError.clear();
    struct stat device {};
    if (::stat(path.c_str(), &device) != 0) {
        m_lastOpenError = OpenFailure(errno, path);
        return nullptr;
    }
    if (!S_ISCHR(device.st_mode)) {
        m_lastOpenError = OpenFailure(ENOTTY, path);
        return nullptr;
    }
    // The lock file comes first, as every program that keeps it checks it before opening.
    posix::UucpLockAttempt locking =
        posix::UucpLockAttempt::Take(m_lockDir, posix::UucpLockName(path));
    if (locking.heldBy != 0) {
        m_lastOpenError =
            "locked by PID " + std::to_string(locking.heldBy) + " (" + locking.path + ")";
        return nullptr;
    }
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
        // EBUSY: another holder set TIOCEXCL.
        m_lastOpenError = errno == EBUSY ? BusyReason(device.st_rdev) : OpenFailure(errno, path);
        return nullptr;
    }
    if (!::isatty(fd.Get())) {
        m_lastOpenError = OpenFailure(ENOTTY, path);
        return nullptr;
    }
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        m_lastOpenError = errno == EWOULDBLOCK ? BusyReason(device.st_rdev) : ErrorText(errno);
        return nullptr;
    }
    int wasExclusive = 0;
    ::ioctl(fd.Get(), TIOCGEXCL, &wasExclusive);
    if (::ioctl(fd.Get(), TIOCEXCL) != 0) {
        m_lastOpenError = ErrorText(errno);
        return nullptr;
    }
    auto port = std::make_unique<PosixSerialPort>(std::move(fd), std::move(locking.lock),
                                                  wasExclusive == 0);
    // With every lock taken and later openers shut out, whoever holds the device now was there
    // first. Dropping the port lifts the flag and the lock again.
    const std::vector<posix::DeviceHolder> holders =
        posix::FindDeviceHolders(m_procRoot, device.st_rdev, ::getpid());
    if (!holders.empty()) {
        m_lastOpenError = InUseReason(holders);
        return nullptr;
    }
    return port;
}

std::string PosixSerialPorts::BusyReason(dev_t device) const {
    return InUseReason(posix::FindDeviceHolders(m_procRoot, device, ::getpid()));
}

std::string PosixSerialPorts::LastOpenError() const { return m_lastOpenError; }

SerialPorts& SystemSerialPorts() {
    static PosixSerialPorts ports;
    return ports;
}

std::unique_ptr<SerialPorts> NewSystemSerialPorts() { return std::make_unique<PosixSerialPorts>(); }

}  // namespace sys
