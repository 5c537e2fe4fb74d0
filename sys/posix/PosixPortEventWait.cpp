// The kernel's tty events, the stop signals and the output's reader, all read through
// descriptors in one poll: a signal that comes just before the wait is not lost.
#include "sys/posix/PosixPortEventWait.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace sys::posix {

namespace {

// A pipe or a socket tells when its reader has gone (POLLERR, POLLHUP); a file or a terminal
// has no reader to lose.
int ReaderWatched(int output) {
    struct stat info;
    if (::fstat(output, &info) != 0) return -1;
    return S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode) ? output : -1;
}

class PosixPortEventWait : public PortEventWait {
public:
    PosixPortEventWait(UeventSocket events, int output)
        : m_events(std::move(events)), m_output(ReaderWatched(output)) {
        sigset_t stops;
        sigemptyset(&stops);
        sigaddset(&stops, SIGINT);
        sigaddset(&stops, SIGTERM);
        // Blocked, the signals wait in the descriptor instead of ending the process.
        ::sigprocmask(SIG_BLOCK, &stops, &m_previousMask);
        m_stops = UniqueFd(::signalfd(-1, &stops, SFD_NONBLOCK | SFD_CLOEXEC));
        // Without the descriptor the signals end the process as before.
        if (!m_stops.Valid()) ::sigprocmask(SIG_SETMASK, &m_previousMask, nullptr);
    }
    ~PosixPortEventWait() override { ::sigprocmask(SIG_SETMASK, &m_previousMask, nullptr); }
    PosixPortEventWait(const PosixPortEventWait&) = delete;
    PosixPortEventWait& operator=(const PosixPortEventWait&) = delete;

    WaitEnd Wait(int timeoutMs) override {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        // The output's reader going shows without asking (events 0).
        pollfd fds[3] = {{m_stops.Get(), POLLIN, 0}, {m_events.Fd(), POLLIN, 0}, {m_output, 0, 0}};
        for (;;) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            const int ready = ::poll(fds, 3, static_cast<int>(std::max<decltype(left)>(left, 0)));
            if (ready < 0 && errno == EINTR) continue;
            if (ready <= 0) return WaitEnd::TimedOut;
            if (fds[0].revents != 0) {
                // Taken, so that unblocking them at the end does not deliver them after all.
                signalfd_siginfo taken;
                while (::read(m_stops.Get(), &taken, sizeof taken) == sizeof taken) {
                }
                return WaitEnd::Stopped;
            }
            if (fds[2].revents != 0) return WaitEnd::OutputGone;
            // Events about other devices are read and dropped, and the wait goes on: a USB
            // event after a tty's is no quiet, and must not end a burst's settling early.
            if (m_events.ReadTtyEvents()) return WaitEnd::PortsChanged;
        }
    }

private:
    UeventSocket m_events;
    int m_output;
    UniqueFd m_stops;
    sigset_t m_previousMask{};
};

}  // namespace

std::unique_ptr<PortEventWait> OpenPortEventWait(UeventSocket events, int output) {
    return std::make_unique<PosixPortEventWait>(std::move(events), output);
}

}  // namespace sys::posix

namespace sys {

std::unique_ptr<PortEventWait> OpenPortEventWait() {
    return posix::OpenPortEventWait(posix::UeventSocket::OpenKernel(), STDOUT_FILENO);
}

}  // namespace sys
