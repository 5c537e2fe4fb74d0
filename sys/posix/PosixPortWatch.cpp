// The kernel's tty events and the stop signals, both read through descriptors in one poll: a
// signal that comes just before the wait is not lost.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>

#include <unistd.h>

#include <cerrno>

#include "sys/PortWatch.h"
#include "sys/posix/SysfsPorts.h"
#include "sys/posix/Uevents.h"

namespace sys {

namespace {

class PosixPortWatch : public PortWatch {
public:
    PosixPortWatch() : m_events(posix::UeventSocket::OpenKernel()) {
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
    ~PosixPortWatch() override { ::sigprocmask(SIG_SETMASK, &m_previousMask, nullptr); }
    PosixPortWatch(const PosixPortWatch&) = delete;
    PosixPortWatch& operator=(const PosixPortWatch&) = delete;

    WatchWake Wait(int timeoutMs) override {
        pollfd fds[2] = {{m_stops.Get(), POLLIN, 0}, {m_events.Fd(), POLLIN, 0}};
        for (;;) {
            const int ready = ::poll(fds, 2, timeoutMs);
            if (ready < 0 && errno == EINTR) continue;
            if (ready <= 0) return WatchWake::TimedOut;
            if (fds[0].revents != 0) {
                // Taken, so that unblocking them at the end does not deliver them after all.
                signalfd_siginfo taken;
                while (::read(m_stops.Get(), &taken, sizeof taken) == sizeof taken) {
                }
                return WatchWake::Stopped;
            }
            // Events about other devices are read and dropped; the wait ends early anyway, so a
            // busy bus costs a look at sysfs at most.
            return m_events.ReadTtyEvents() ? WatchWake::PortsChanged : WatchWake::TimedOut;
        }
    }

private:
    posix::UeventSocket m_events;
    UniqueFd m_stops;
    sigset_t m_previousMask{};
};

class RootedPlatform : public DiscoveryPlatform {
public:
    explicit RootedPlatform(const std::string& root) : m_inventory(root + "/sys", root + "/dev") {}
    const PortInventory* Inventory() override { return &m_inventory; }

private:
    posix::SysfsPorts m_inventory;
};

}  // namespace

std::unique_ptr<PortWatch> OpenPortWatch() { return std::make_unique<PosixPortWatch>(); }

std::unique_ptr<DiscoveryPlatform> DiscoveryPlatformUnder(const std::string& root) {
    return std::make_unique<RootedPlatform>(root);
}

}  // namespace sys
