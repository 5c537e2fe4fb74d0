#include "tools/sim/Replies.h"

#include <algorithm>

#include "link/ConnectionTest.h"
#include "link/HexBytes.h"

namespace sim {
namespace {

bool Answers(Profile profile, std::uint8_t command) {
    const bool tarvexSet =
        command == CMD_ENGINECODE || command == CMD_VERSION || command == CMD_PROTECTION;
    const bool legacySet = command == CMD_LEGACY_ENGINECODE || command == CMD_LEGACY_VERSION;
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
    case CMD_ENGINECODE: return options.engineCode;
    case CMD_VERSION: return options.version;
    case CMD_PROTECTION: return options.protectionData;
    case CMD_LEGACY_ENGINECODE: return options.legacyEngineCode;
    default: return options.legacyVersion;
    }
}

}  // namespace

const char* CommandName(std::uint8_t command) {
    switch (command) {
    case CMD_ENGINECODE: return "engine code";
    case CMD_VERSION: return "version";
    case CMD_PROTECTION: return "protection";
    case CMD_LEGACY_ENGINECODE: return "legacy engine code";
    case CMD_LEGACY_VERSION: return "legacy version";
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
    if (!faults.noise.empty()) notes += ", after noise " + HexBytes(faults.noise);
    if (faults.cutOff || faults.hangUp) {
        const std::size_t cutAt = std::min(faults.cutAt.value_or(frame.size() / 2), frame.size());
        plan.sendCount = faults.noise.size() + cutAt;
        plan.hangUp = faults.hangUp;
        notes += (faults.hangUp ? ", hang-up after " : ", cut off after ") + std::to_string(cutAt) +
                 " of " + std::to_string(frame.size()) + " bytes";
    }
    plan.delayMs = options.replyDelayMs + faults.lateMs.value_or(0);
    if (faults.lateMs) notes += ", late by " + std::to_string(*faults.lateMs) + " ms";
    plan.byteGapMs = faults.byteGapMs;
    if (faults.byteGapMs > 0)
        notes += ", " + std::to_string(faults.byteGapMs) + " ms between bytes";

    plan.description = "reply " + HexBytes(frame) + notes;
    return plan;
}

}  // namespace sim
