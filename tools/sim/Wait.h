#pragma once
// Waiting on the pty and on the clock, cut short by SIGTERM, SIGINT or SIGHUP.

#include <signal.h>

#include <chrono>
#include <optional>

namespace sim {

using Clock = std::chrono::steady_clock;

// Blocks the stop signals except while waiting (ppoll), so a signal can never slip in between
// checking the flag and starting to wait. Restores the previous handlers and mask when destroyed.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool Stopped() const;
    const sigset_t& WaitMask() const { return m_waitMask; }

private:
    sigset_t m_previousMask{};
    sigset_t m_waitMask{};
    struct sigaction m_previous[3]{};
};

enum class WaitResult { Ready, TimedOut, Stopped, Failed };

// Waits until fd has one of events (or an error/hang-up), the deadline passes or a stop signal
// arrives. fd < 0 waits for the deadline or a signal only.
WaitResult WaitFor(int fd, short events, std::optional<Clock::time_point> deadline,
                   const StopSignals& signals);

inline WaitResult SleepUntil(Clock::time_point deadline, const StopSignals& signals) {
    return WaitFor(-1, 0, deadline, signals);
}

}  // namespace sim
