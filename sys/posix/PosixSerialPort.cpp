#include "sys/posix/PosixSerialPort.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <optional>
#include <vector>

#include "sys/posix/DeviceHolders.h"
#include "sys/posix/TermiosSettings.h"

namespace sys {
namespace {

using Clock = std::chrono::steady_clock;

// How long the search for other holders may take; past it the other exclusions still hold.
constexpr auto HOLDER_SCAN_BOUND = std::chrono::seconds(1);

// Terminals that are never a serial line: /dev/tty (the caller's own), /dev/console and the
// virtual consoles (4, 0-63; the ttyS ports follow from minor 64).
const dev_t CONTROLLING_TTY = makedev(5, 0);
const dev_t SYSTEM_CONSOLE = makedev(5, 1);
constexpr unsigned VIRTUAL_CONSOLE_MAJOR = 4;
constexpr unsigned VIRTUAL_CONSOLE_COUNT = 64;

OpenFailure Failure(OpenFailure::Kind kind) {
    OpenFailure failure;
    failure.kind = kind;
    return failure;
}

OpenFailure SystemFailure(int error) {
    OpenFailure failure = Failure(OpenFailure::Kind::System);
    failure.systemText = std::strerror(error);
    return failure;
}

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
OpenFailure PermissionFailure(const std::string& path) {
    OpenFailure failure = Failure(OpenFailure::Kind::PermissionDenied);
    struct stat device {};
    if (::stat(path.c_str(), &device) == 0 &&
        (device.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP) && !InGroup(device.st_gid))
        failure.group = GroupName(device.st_gid);
    return failure;
}

OpenFailure FailureOf(int error, const std::string& path) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO: return Failure(OpenFailure::Kind::NoDevice);
    case EACCES:
    case EPERM: return PermissionFailure(path);
    case ENOTTY: return Failure(OpenFailure::Kind::NotSerialPort);
    default: return SystemFailure(error);
    }
}

// The terminal a descriptor reaches: for /dev/tty or /dev/console, the one behind it.
std::optional<dev_t> RealTerminal(int fd) {
    unsigned int device = 0;
    if (::ioctl(fd, TIOCGDEV, &device) != 0) return std::nullopt;
    return static_cast<dev_t>(device);
}

// True for a console or a terminal this process runs on, under whatever name: changing its
// settings would take over the user's own screen.
bool IsConsoleOrOwnTerminal(dev_t device) {
    if (device == CONTROLLING_TTY || device == SYSTEM_CONSOLE ||
        (major(device) == VIRTUAL_CONSOLE_MAJOR && minor(device) < VIRTUAL_CONSOLE_COUNT))
        return true;
    const UniqueFd controlling(::open("/dev/tty", O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    for (const int fd : {controlling.Get(), STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        if (fd >= 0 && ::isatty(fd) && RealTerminal(fd) == device) return true;
    return false;
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

PosixSerialPort::PosixSerialPort(UniqueFd fd, posix::UucpLock lock, bool clearExclusive,
                                 std::optional<termios> original)
    : m_lock(std::move(lock)),
      m_fd(std::move(fd)),
      m_clearExclusive(clearExclusive),
      m_original(original) {}

PosixSerialPort::~PosixSerialPort() {
    // The line goes back as it was found, as the next program on it expects.
    if (m_original) ::tcsetattr(m_fd.Get(), TCSANOW, &*m_original);
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

OpenResult PosixSerialPorts::OpenExclusive(const std::string& path) {
    using Kind = OpenFailure::Kind;
    OpenResult result;
    struct stat device {};
    if (::stat(path.c_str(), &device) != 0) {
        result.failure = FailureOf(errno, path);
        return result;
    }
    if (!S_ISCHR(device.st_mode) || IsConsoleOrOwnTerminal(device.st_rdev)) {
        result.failure = Failure(Kind::NotSerialPort);
        return result;
    }
    // The lock file comes first, as every program that keeps it checks it before opening.
    posix::UucpLockAttempt locking =
        posix::UucpLockAttempt::Take(m_lockDir, posix::UucpLockName(path));
    if (locking.heldBy != 0 || locking.unreadable) {
        result.failure = Failure(locking.unreadable ? Kind::LockUnreadable : Kind::Locked);
        result.failure.lockOwner = locking.heldBy;
        result.failure.lockFile = locking.path;
        return result;
    }
    // Who held the device before this open. Looked for first, so that another opener racing
    // this one is never taken for a holder: whoever wins the flock below found nobody.
    const std::vector<PortHolder> holders = posix::FindDeviceHolders(
        m_procRoot, device.st_rdev, ::getpid(), Clock::now() + HOLDER_SCAN_BOUND);
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
        // EBUSY: another holder set TIOCEXCL.
        result.failure =
            errno == EBUSY ? BusyFailure(device.st_rdev, true) : FailureOf(errno, path);
        return result;
    }
    struct stat opened {};
    if (!::isatty(fd.Get()) || ::fstat(fd.Get(), &opened) != 0 ||
        opened.st_rdev != device.st_rdev) {
        result.failure = Failure(Kind::NotSerialPort);
        return result;
    }
    if (!holders.empty()) {
        result.failure = Failure(Kind::InUse);
        result.failure.holders = holders;
        return result;
    }
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        result.failure =
            errno == EWOULDBLOCK ? BusyFailure(device.st_rdev, false) : SystemFailure(errno);
        return result;
    }
    // Past the flock the port is ours (every tty takes TIOCEXCL), so no racing opener that
    // gave way to this one is left without the port for nothing.
    int wasExclusive = 0;
    ::ioctl(fd.Get(), TIOCGEXCL, &wasExclusive);
    if (::ioctl(fd.Get(), TIOCEXCL) != 0) {
        result.failure = SystemFailure(errno);
        return result;
    }
    std::optional<termios> original(termios{});
    if (::tcgetattr(fd.Get(), &*original) != 0) original.reset();
    result.port = std::make_unique<PosixSerialPort>(std::move(fd), std::move(locking.lock),
                                                    wasExclusive == 0, original);
    return result;
}

// Why another holder keeps the port: the processes holding it, or, when the open itself was
// refused (TIOCEXCL) and nobody can be seen holding it, the flag left behind.
OpenFailure PosixSerialPorts::BusyFailure(dev_t device, bool exclusiveFlag) const {
    OpenFailure failure = Failure(OpenFailure::Kind::InUse);
    failure.holders =
        posix::FindDeviceHolders(m_procRoot, device, ::getpid(), Clock::now() + HOLDER_SCAN_BOUND);
    if (exclusiveFlag && failure.holders.empty())
        failure.kind = OpenFailure::Kind::ExclusiveFlagLeft;
    return failure;
}

SerialPorts& SystemSerialPorts() {
    static PosixSerialPorts ports;
    return ports;
}

}  // namespace sys
