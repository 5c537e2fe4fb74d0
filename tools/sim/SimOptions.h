#pragma once
// marlox-sim's command line.

#include <cstdint>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>

#include "tools/sim/Frame.h"

namespace sim {

enum class Profile {
    Tarvex,     // answers F3, F5, AD; ignores 6B, 6C
    Protected,  // like Tarvex, its protection data is not eight spaces
    Legacy,     // answers only 6B and 6C
    Dual,       // answers all five
    Silent      // answers nothing
};

const char* ProfileName(Profile profile);

// What goes wrong with a reply. Each applies to the commands in SimOptions::faultOn (all when
// empty).
struct Faults {
    bool badChecksum = false;
    bool cutOff = false;               // send part of the reply, then nothing
    bool hangUp = false;               // send part of the reply, then close the pty and exit
    std::optional<std::size_t> cutAt;  // bytes sent before the cut (default: half the frame)
    std::optional<unsigned> lateMs;    // reply only after this long
    Bytes noise;                       // sent before the reply
    bool longReply = false;            // 253 data bytes
    unsigned byteGapMs = 0;            // pause between reply bytes

    bool Any() const {
        return badChecksum || cutOff || hangUp || lateMs || !noise.empty() || longReply ||
               byteGapMs > 0;
    }
};

struct SimOptions {
    Profile profile = Profile::Tarvex;
    std::string linkPath;  // symlink to the pty, removed on exit
    std::string logPath;   // empty: stderr
    std::optional<unsigned long> exitAfter;

    Bytes engineCode;
    Bytes version;
    Bytes legacyEngineCode;
    Bytes legacyVersion;
    Bytes protectionData;

    unsigned replyDelayMs = 0;
    bool baudPacing = false;

    // Sent over and over at the line's rate, whatever comes in; nothing is answered.
    Bytes flood;

    Faults faults;
    std::set<std::uint8_t> faultOn;

    bool showHelp = false;
};

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throws UsageError on anything it cannot take.
SimOptions ParseOptions(int argc, char* argv[]);

// A text option: taken literally, or as bytes when written "hex:4142004344".
Bytes ParseText(const std::string& value);

const char* HelpText();

}  // namespace sim
