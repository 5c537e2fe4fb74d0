#include "tools/sim/Wait.h"

#include <poll.h>

#include <cerrno>

namespace sim {
namespace {

volatile sig_atomic_t g_stopRequested = 0;

const int STOP_SIGNALS[3] = {SIGTERM, SIGINT, SIGHUP};

void OnStopSignal(int) { g_stopRequested = 1; }

}  // namespace

StopSignals::StopSignals() {
    sigset_t stopSet;
    sigemptyset(&stopSet);
    for (int signal : STOP_SIGNALS)
        sigaddset(&stopSet, signal);
    sigprocmask(SIG_BLOCK, &stopSet, &m_previousMask);
    m_waitMask = m_previousMask;
    for (int signal : STOP_SIGNALS)
        sigdelset(&m_waitMask, signal);

    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i)
        sigaction(STOP_SIGNALS[i], &action, &m_previous[i]);
}

StopSignals::~StopSignals() {
    for (int i = 0; i < 3; ++i)
        sigaction(STOP_SIGNALS[i], &m_previous[i], nullptr);
    sigprocmask(SIG_SETMASK, &m_previousMask, nullptr);
}

bool StopSignals::Stopped() const { return g_stopRequested != 0; }

WaitResult WaitFor(int fd, short events, std::optional<Clock::time_point> deadline,
                   const StopSignals& signals) {
    pollfd target{fd, events, 0};
    for (;;) {
        if (signals.Stopped()) return WaitResult::Stopped;
        timespec timeout{};
        if (deadline) {
            const auto left = *deadline - Clock::now();
            if (left <= Clock::duration::zero()) return WaitResult::TimedOut;
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            timeout.tv_sec = static_cast<time_t>(ns / 1000000000);
            timeout.tv_nsec = static_cast<long>(ns % 1000000000);
        }
        const int ready = ppoll(fd >= 0 ? &target : nullptr, fd >= 0 ? 1 : 0,
                                deadline ? &timeout : nullptr, &signals.WaitMask());
        if (ready > 0) return WaitResult::Ready;
        if (ready < 0 && errno != EINTR) return WaitResult::Failed;
        // Interrupted or timed out: loop to re-check the flag and the deadline.
    }
}

}  // namespace sim
