#include "tools/sim/Simulator.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "link/HexBytes.h"

namespace sim {
namespace {

// 19200 baud, 8E1: start + 8 data + parity + stop = 11 bits per byte.
constexpr auto BYTE_TIME = std::chrono::nanoseconds(11 * 1000000000LL / 19200);
constexpr std::size_t REQUEST_SIZE = 3;
// A requester that does not read for this long gets the rest of the reply dropped.
constexpr auto WRITE_GIVE_UP = std::chrono::seconds(2);
// How long closing the pty waits for the requester to read what was sent.
constexpr auto CLOSE_DRAIN = std::chrono::milliseconds(500);
constexpr auto CLOSE_SETTLE = std::chrono::milliseconds(50);
// --flood sends a piece every 10 ms, as many bytes as the line carries in that time.
constexpr auto FLOOD_INTERVAL = std::chrono::milliseconds(10);
constexpr std::size_t FLOOD_PIECE = FLOOD_INTERVAL / BYTE_TIME;

}  // namespace

Simulator::Simulator(const SimOptions& options, Pty& pty, Log& log, const StopSignals& signals)
    : m_options(options), m_pty(pty), m_log(log), m_signals(signals) {}

RunEnd Simulator::Run() {
    RequestScanner scanner;
    unsigned long requests = 0;
    const bool flooding = !m_options.flood.empty();
    for (;;) {
        if (!FloodIfDue()) return RunEnd::PtyFailed;
        const auto deadline = flooding ? std::optional(m_nextFlood) : std::nullopt;
        switch (WaitFor(m_pty.Master(), POLLIN, deadline, m_signals)) {
        case WaitResult::Ready: break;
        case WaitResult::TimedOut: continue;
        case WaitResult::Stopped: return RunEnd::Stopped;
        default: return RunEnd::PtyFailed;
        }
        std::uint8_t chunk[64];
        const ssize_t count = ::read(m_pty.Master(), chunk, sizeof chunk);
        if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (count <= 0) {
            m_log.Line(std::string("pty read failed: ") +
                       (count < 0 ? std::strerror(errno) : "end"));
            return RunEnd::PtyFailed;
        }
        const auto received = Clock::now();
        for (ssize_t i = 0; i < count; ++i) {
            const auto command = scanner.Feed(chunk[i]);
            if (command) LogGarbage(scanner);
            if (!command) continue;

            ++requests;
            switch (HandleRequest(*command, received)) {
            case SendEnd::HungUp: return RunEnd::HungUp;
            case SendEnd::Stopped: return RunEnd::Stopped;
            case SendEnd::Failed: return RunEnd::PtyFailed;
            case SendEnd::Sent: break;
            }
            if (m_options.exitAfter && requests >= *m_options.exitAfter)
                return LetRequesterRead() ? RunEnd::ExitAfter : RunEnd::Stopped;
        }
        LogGarbage(scanner);
    }
}

void Simulator::LogGarbage(RequestScanner& scanner) {
    const Bytes discarded = scanner.TakeDiscarded();
    if (!discarded.empty()) m_log.Line("garbage " + HexBytes(discarded) + " skipped");
}

bool Simulator::FloodIfDue() {
    const Bytes& pattern = m_options.flood;
    const auto now = Clock::now();
    if (pattern.empty() || now < m_nextFlood) return true;
    // After a stall the flood goes on at its rate; it does not catch up in a burst.
    m_nextFlood = std::max(m_nextFlood + FLOOD_INTERVAL, now);

    Bytes piece(FLOOD_PIECE);
    for (std::size_t i = 0; i < piece.size(); ++i)
        piece[i] = pattern[(m_floodOffset + i) % pattern.size()];
    // What the pty does not take (a requester that does not read) is dropped, as on a line; the
    // pattern goes on from the last byte written, so the requester reads it unbroken.
    const ssize_t written = ::write(m_pty.Master(), piece.data(), piece.size());
    if (written > 0) {
        m_floodOffset = (m_floodOffset + static_cast<std::size_t>(written)) % pattern.size();
    } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
        m_log.Line(std::string("pty write failed: ") + std::strerror(errno));
        return false;
    }
    return true;
}

Simulator::SendEnd Simulator::HandleRequest(std::uint8_t command, Clock::time_point received) {
    const std::string heading =
        "request " + HexBytes(BuildFrame(command, {})) + " (" + CommandName(command) + "): ";
    if (!m_options.flood.empty()) {
        m_log.Line(heading + "not answered (flooding)");
        return SendEnd::Sent;
    }
    const auto plan = PlanReply(m_options, command);
    if (!plan) {
        m_log.Line(heading + "ignored (profile " + ProfileName(m_options.profile) + ")");
        return SendEnd::Sent;
    }
    m_log.Line(heading + plan->description);
    const SendEnd end = Send(*plan, received);
    if (end == SendEnd::HungUp) m_log.Line("hung up: pty closed");
    return end;
}

Simulator::SendEnd Simulator::Send(const ReplyPlan& plan, Clock::time_point received) {
    // On a real line the request is still arriving for three byte times after it was written.
    auto next = received + std::chrono::milliseconds(plan.delayMs);
    if (m_options.baudPacing) next += REQUEST_SIZE * BYTE_TIME;
    const auto gap = std::chrono::milliseconds(plan.byteGapMs);
    const bool eachByteTimed = m_options.baudPacing || plan.byteGapMs > 0;

    if (!eachByteTimed) {
        if (SleepUntil(next, m_signals) == WaitResult::Stopped) return SendEnd::Stopped;
        if (!WriteBytes(plan.wire.data(), plan.sendCount)) return SendEnd::Failed;
    } else {
        for (std::size_t i = 0; i < plan.sendCount; ++i) {
            if (i > 0) next += gap;
            if (m_options.baudPacing) next += BYTE_TIME;
            // Absolute deadlines: the wake-up latency of one byte does not delay the next.
            if (SleepUntil(next, m_signals) == WaitResult::Stopped) return SendEnd::Stopped;
            if (!WriteBytes(&plan.wire[i], 1)) return SendEnd::Failed;
        }
    }
    if (plan.hangUp) {
        if (!LetRequesterRead()) return SendEnd::Stopped;
        m_pty.HangUp();
        return SendEnd::HungUp;
    }
    return SendEnd::Sent;
}

bool Simulator::LetRequesterRead() {
    // Written bytes reach the requester's input queue a moment later (the kernel pushes them
    // from a work queue), so an empty queue counts only once it has held bytes or has had
    // CLOSE_SETTLE to fill.
    const auto start = Clock::now();
    bool seenPending = false;
    for (;;) {
        const auto waited = Clock::now() - start;
        if (m_pty.PendingForRequester() > 0)
            seenPending = true;
        else if (seenPending || waited >= CLOSE_SETTLE)
            return true;
        if (waited >= CLOSE_DRAIN) return true;
        if (SleepUntil(Clock::now() + std::chrono::milliseconds(1), m_signals) ==
            WaitResult::Stopped)
            return false;
    }
}

bool Simulator::WriteBytes(const std::uint8_t* bytes, std::size_t count) {
    const auto giveUp = Clock::now() + WRITE_GIVE_UP;
    while (count > 0) {
        const ssize_t written = ::write(m_pty.Master(), bytes, count);
        if (written > 0) {
            bytes += written;
            count -= static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR) {
            m_log.Line(std::string("pty write failed: ") + std::strerror(errno));
            return false;
        }
        if (WaitFor(m_pty.Master(), POLLOUT, giveUp, m_signals) != WaitResult::Ready) {
            m_log.Line("requester does not read: " + std::to_string(count) + " bytes dropped");
            return true;
        }
    }
    return true;
}

}  // namespace sim
