#include "tools/sim/Replies.h"

#include <algorithm>

namespace sim {
namespace {

constexpr std::uint8_t CMD_F3 = 0xF3, CMD_F5 = 0xF5, CMD_AD = 0xAD, CMD_6B = 0x6B, CMD_6C = 0x6C;

bool Answers(Profile profile, std::uint8_t command) {
    const bool tarvexSet = command == CMD_F3 || command == CMD_F5 || command == CMD_AD;
    const bool legacySet = command == CMD_6B || command == CMD_6C;
    switch (profile) {
    case Profile::Tarvex:
    case Profile::Protected: return tarvexSet;
    case Profile::Legacy: return legacySet;
    case Profile::Dual: return tarvexSet || legacySet;
    case Profile::Silent: return false;
    }
    return false;
}

const Bytes& AnswerData(const SimOptions& options, std::uint8_t command) {
    switch (command) {
    case CMD_F3: return options.engineCode;
    case CMD_F5: return options.version;
    case CMD_AD: return options.protectionData;
    case CMD_6B: return options.legacyEngineCode;
    default: return options.legacyVersion;
    }
}

}  // namespace

const char* CommandName(std::uint8_t command) {
    switch (command) {
    case CMD_F3: return "engine code";
    case CMD_F5: return "version";
    case CMD_AD: return "protection";
    case CMD_6B: return "legacy engine code";
    case CMD_6C: return "legacy version";
    default: return "unknown command";
    }
}

std::optional<ReplyPlan> PlanReply(const SimOptions& options, std::uint8_t command) {
    if (!Answers(options.profile, command)) return std::nullopt;

    const bool faulty = options.faultOn.empty() || options.faultOn.count(command) > 0;
    const Faults none;
    const Faults& faults = faulty ? options.faults : none;

    Bytes data = AnswerData(options, command);
    if (faults.longReply) data.resize(MAX_DATA, '#');
    Bytes frame = BuildFrame(command, data);
    std::string notes;
    if (faults.badChecksum) {
        ++frame.back();
        notes += ", checksum off by one";
    }

    ReplyPlan plan;
    plan.wire = faults.noise;
    plan.wire.insert(plan.wire.end(), frame.begin(), frame.end());
    plan.sendCount = plan.wire.size();
    if (!faults.noise.empty())
        notes += ", after noise " + FormatBytes(faults.noise);
    if (faults.cutOff || faults.hangUp) {
        const std::size_t cutAt = std::min(faults.cutAt.value_or(frame.size() / 2), frame.size());
        plan.sendCount = faults.noise.size() + cutAt;
        plan.hangUp = faults.hangUp;
        notes += (faults.hangUp ? ", hang-up after " : ", cut off after ") +
                 std::to_string(cutAt) + " of " + std::to_string(frame.size()) + " bytes";
    }
    plan.delayMs = options.replyDelayMs + faults.lateMs.value_or(0);
    if (faults.lateMs) notes += ", late by " + std::to_string(*faults.lateMs) + " ms";
    plan.byteGapMs = faults.byteGapMs;
    if (faults.byteGapMs > 0) notes += ", " + std::to_string(faults.byteGapMs) + " ms between bytes";

    plan.description = "reply " + FormatBytes(frame) + notes;
    return plan;
}

}  // namespace sim
