#pragma once
// What the simulator answers to a request, with the configured faults applied.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "tools/sim/Frame.h"
#include "tools/sim/SimOptions.h"

namespace sim {

struct ReplyPlan {
    Bytes wire;                 // noise, then the reply frame
    std::size_t sendCount = 0;  // bytes of wire sent; fewer when the reply is cut
    bool hangUp = false;        // close the pty after sendCount bytes
    unsigned delayMs = 0;       // before the first byte
    unsigned byteGapMs = 0;     // between bytes
    std::string description;    // for the log
};

// "engine code", "legacy version", ...; "unknown command" for anything else.
const char* CommandName(std::uint8_t command);

// nullopt when the profile does not answer the command.
std::optional<ReplyPlan> PlanReply(const SimOptions& options, std::uint8_t command);

}  // namespace sim
