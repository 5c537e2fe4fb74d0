#include "sys/posix/PosixSerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>

#include "sys/posix/TermiosSettings.h"

namespace sys {
namespace {

using Clock = std::chrono::steady_clock;

std::string ErrorText(int error) { return std::strerror(error); }

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

PosixSerialPort::PosixSerialPort(UniqueFd fd) : m_fd(std::move(fd)) {}

PosixSerialPort::~PosixSerialPort() {
    // A pty outlives its slave's close while the other side stays open, and keeps the
    // exclusive flag: without this the next open by a non-root user would fail with EBUSY.
    ::ioctl(m_fd.Get(), TIOCNXCL);
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

std::unique_ptr<SerialPort> PosixSerialPorts::OpenExclusive(const std::string& path) {
    m_lastOpenError.clear();
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
        m_lastOpenError = ErrorText(errno);
        return nullptr;
    }
    if (!::isatty(fd.Get())) {
        m_lastOpenError = ErrorText(ENOTTY);
        return nullptr;
    }
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        // Held by another program: say "busy" rather than "try again".
        m_lastOpenError = ErrorText(errno == EWOULDBLOCK ? EBUSY : errno);
        return nullptr;
    }
    if (::ioctl(fd.Get(), TIOCEXCL) != 0) {
        m_lastOpenError = ErrorText(errno);
        return nullptr;
    }
    return std::make_unique<PosixSerialPort>(std::move(fd));
}

std::string PosixSerialPorts::LastOpenError() const { return m_lastOpenError; }

SerialPorts& SystemSerialPorts() {
    static PosixSerialPorts ports;
    return ports;
}

}  // namespace sys
