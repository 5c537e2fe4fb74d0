#pragma once
// The request/reply loop on the pty.

#include <cstdint>

#include "tools/sim/Log.h"
#include "tools/sim/Pty.h"
#include "tools/sim/Replies.h"
#include "tools/sim/SimOptions.h"
#include "tools/sim/Wait.h"

namespace sim {

enum class RunEnd { Stopped, ExitAfter, HungUp, PtyFailed };

class Simulator {
public:
    Simulator(const SimOptions& options, Pty& pty, Log& log, const StopSignals& signals);
    RunEnd Run();

private:
    enum class SendEnd { Sent, HungUp, Stopped, Failed };

    SendEnd HandleRequest(std::uint8_t command, Clock::time_point received);
    SendEnd Send(const ReplyPlan& plan, Clock::time_point received);
    bool WriteBytes(const std::uint8_t* bytes, std::size_t count);
    void LogGarbage(RequestScanner& scanner);
    // The next piece of --flood, when it is due. False when the pty fails.
    bool FloodIfDue();
    // Closing the pty discards what the requester has not read yet: give it the time to read.
    // False when a stop signal came first.
    bool LetRequesterRead();

    const SimOptions& m_options;
    Pty& m_pty;
    Log& m_log;
    const StopSignals& m_signals;
    Clock::time_point m_nextFlood = Clock::now();
    std::size_t m_floodOffset = 0;  // where in the pattern the next piece starts
};

}  // namespace sim
