#include "tools/sim/SimOptions.h"

#include <getopt.h>

#include <cctype>
#include <charconv>
#include <climits>

namespace sim {
namespace {

const char* const DEFAULT_ENGINE_CODE = "E7TX0421";
const char* const DEFAULT_VERSION = "V3.02";
const char* const DEFAULT_LEGACY_ENGINE_CODE = "E4LG0193";
const char* const DEFAULT_LEGACY_VERSION = "V1.07";
// Eight spaces read as "not protected"; anything else in the first nine bytes as protected.
const char* const DEFAULT_PROTECTION_NONE = "        ";
const char* const DEFAULT_PROTECTION_SET = "hex:202020202020202001";

enum OptionId {
    OPT_PROFILE = 256,
    OPT_LINK,
    OPT_LOG,
    OPT_EXIT_AFTER,
    OPT_ENGINE_CODE,
    OPT_VERSION,
    OPT_LEGACY_ENGINE_CODE,
    OPT_LEGACY_VERSION,
    OPT_PROTECTION_DATA,
    OPT_REPLY_DELAY,
    OPT_BAUD_PACING,
    OPT_FAULT_ON,
    OPT_BAD_CHECKSUM,
    OPT_CUT_OFF,
    OPT_HANG_UP,
    OPT_CUT_AT,
    OPT_LATE,
    OPT_NOISE,
    OPT_LONG_REPLY,
    OPT_BYTE_GAP,
    OPT_FLOOD,
};

const option LONG_OPTIONS[] = {
    {"help", no_argument, nullptr, 'h'},
    {"profile", required_argument, nullptr, OPT_PROFILE},
    {"link", required_argument, nullptr, OPT_LINK},
    {"log", required_argument, nullptr, OPT_LOG},
    {"exit-after", required_argument, nullptr, OPT_EXIT_AFTER},
    {"engine-code", required_argument, nullptr, OPT_ENGINE_CODE},
    {"version", required_argument, nullptr, OPT_VERSION},
    {"legacy-engine-code", required_argument, nullptr, OPT_LEGACY_ENGINE_CODE},
    {"legacy-version", required_argument, nullptr, OPT_LEGACY_VERSION},
    {"protection-data", required_argument, nullptr, OPT_PROTECTION_DATA},
    {"reply-delay", required_argument, nullptr, OPT_REPLY_DELAY},
    {"baud-pacing", no_argument, nullptr, OPT_BAUD_PACING},
    {"fault-on", required_argument, nullptr, OPT_FAULT_ON},
    {"bad-checksum", no_argument, nullptr, OPT_BAD_CHECKSUM},
    {"cut-off", no_argument, nullptr, OPT_CUT_OFF},
    {"hang-up", no_argument, nullptr, OPT_HANG_UP},
    {"cut-at", required_argument, nullptr, OPT_CUT_AT},
    {"late", optional_argument, nullptr, OPT_LATE},
    {"noise", optional_argument, nullptr, OPT_NOISE},
    {"long-reply", no_argument, nullptr, OPT_LONG_REPLY},
    {"byte-gap", required_argument, nullptr, OPT_BYTE_GAP},
    {"flood", optional_argument, nullptr, OPT_FLOOD},
    {nullptr, 0, nullptr, 0},
};

unsigned long ParseNumber(const std::string& value, const char* option, unsigned long max) {
    unsigned long number = 0;
    const char* end = value.data() + value.size();
    const auto [ptr, error] = std::from_chars(value.data(), end, number);
    if (value.empty() || error != std::errc() || ptr != end || number > max)
        throw UsageError(std::string("--") + option + ": not a number from 0 to " +
                         std::to_string(max) + ": '" + value + "'");
    return number;
}

unsigned ParseMs(const std::string& value, const char* option) {
    return static_cast<unsigned>(ParseNumber(value, option, 60000));
}

Bytes ParseHex(const std::string& digits, const std::string& what) {
    std::string compact;
    for (char c : digits)
        if (!std::isspace(static_cast<unsigned char>(c))) compact += c;
    if (compact.size() % 2 != 0) throw UsageError(what + ": odd number of hex digits");
    Bytes bytes;
    for (std::size_t i = 0; i < compact.size(); i += 2) {
        unsigned value = 0;
        const char* first = compact.data() + i;
        const auto [ptr, error] = std::from_chars(first, first + 2, value, 16);
        if (error != std::errc() || ptr != first + 2)
            throw UsageError(what + ": not a hex byte: '" + compact.substr(i, 2) + "'");
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    return bytes;
}

std::uint8_t ParseCommand(std::string value) {
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X'))
        value.erase(0, 2);
    const Bytes bytes = ParseHex(value, "--fault-on");
    if (bytes.size() != 1) throw UsageError("--fault-on: one command byte in hex, e.g. F3");
    return bytes[0];
}

Profile ParseProfile(const std::string& name) {
    for (Profile profile :
         {Profile::Tarvex, Profile::Protected, Profile::Legacy, Profile::Dual, Profile::Silent})
        if (name == ProfileName(profile)) return profile;
    throw UsageError("--profile: unknown profile '" + name + "'");
}

Bytes ParseTextOption(const char* value, const char* option) {
    try {
        return ParseText(value);
    } catch (const UsageError& error) {
        throw UsageError(std::string("--") + option + ": " + error.what());
    }
}

}  // namespace

const char* ProfileName(Profile profile) {
    switch (profile) {
    case Profile::Tarvex: return "tarvex";
    case Profile::Protected: return "protected";
    case Profile::Legacy: return "legacy";
    case Profile::Dual: return "dual";
    case Profile::Silent: return "silent";
    }
    return "?";
}

Bytes ParseText(const std::string& value) {
    static const std::string HEX_PREFIX = "hex:";
    Bytes bytes = value.compare(0, HEX_PREFIX.size(), HEX_PREFIX) == 0
                      ? ParseHex(value.substr(HEX_PREFIX.size()), "text")
                      : Bytes(value.begin(), value.end());
    if (bytes.size() > MAX_DATA) throw UsageError("text longer than 253 bytes");
    return bytes;
}

SimOptions ParseOptions(int argc, char* argv[]) {
    SimOptions options;
    options.engineCode = ParseText(DEFAULT_ENGINE_CODE);
    options.version = ParseText(DEFAULT_VERSION);
    options.legacyEngineCode = ParseText(DEFAULT_LEGACY_ENGINE_CODE);
    options.legacyVersion = ParseText(DEFAULT_LEGACY_VERSION);
    std::optional<Bytes> protectionData;

    opterr = 0;
    optind = 1;
    int id = 0;
    int index = 0;
    while ((id = getopt_long(argc, argv, ":h", LONG_OPTIONS, &index)) != -1) {
        const std::string value = optarg ? optarg : "";
        Faults& faults = options.faults;
        switch (id) {
        case 'h': options.showHelp = true; break;
        case OPT_PROFILE: options.profile = ParseProfile(value); break;
        case OPT_LINK: options.linkPath = value; break;
        case OPT_LOG: options.logPath = value; break;
        case OPT_EXIT_AFTER:
            options.exitAfter = ParseNumber(value, "exit-after", ULONG_MAX);
            if (*options.exitAfter == 0) throw UsageError("--exit-after: at least 1");
            break;
        case OPT_ENGINE_CODE: options.engineCode = ParseTextOption(optarg, "engine-code"); break;
        case OPT_VERSION: options.version = ParseTextOption(optarg, "version"); break;
        case OPT_LEGACY_ENGINE_CODE:
            options.legacyEngineCode = ParseTextOption(optarg, "legacy-engine-code");
            break;
        case OPT_LEGACY_VERSION:
            options.legacyVersion = ParseTextOption(optarg, "legacy-version");
            break;
        case OPT_PROTECTION_DATA:
            protectionData = ParseTextOption(optarg, "protection-data");
            break;
        case OPT_REPLY_DELAY: options.replyDelayMs = ParseMs(value, "reply-delay"); break;
        case OPT_BAUD_PACING: options.baudPacing = true; break;
        case OPT_FAULT_ON: options.faultOn.insert(ParseCommand(value)); break;
        case OPT_BAD_CHECKSUM: faults.badChecksum = true; break;
        case OPT_CUT_OFF: faults.cutOff = true; break;
        case OPT_HANG_UP: faults.hangUp = true; break;
        case OPT_CUT_AT: faults.cutAt = ParseNumber(value, "cut-at", 255); break;
        case OPT_LATE: faults.lateMs = optarg ? ParseMs(value, "late") : 700; break;
        case OPT_NOISE:
            faults.noise = optarg ? ParseHex(value, "--noise") : Bytes{0x00, 0xFF};
            if (faults.noise.empty()) throw UsageError("--noise: no bytes given");
            break;
        case OPT_LONG_REPLY: faults.longReply = true; break;
        case OPT_BYTE_GAP: faults.byteGapMs = ParseMs(value, "byte-gap"); break;
        case OPT_FLOOD:
            // 55 AA: a frame read from it at any point announces a length it then fails to sum to.
            options.flood = optarg ? ParseHex(value, "--flood") : Bytes{0x55, 0xAA};
            if (options.flood.empty()) throw UsageError("--flood: no bytes given");
            break;
        case ':': throw UsageError(std::string(argv[optind - 1]) + " needs a value");
        default: throw UsageError(std::string("unknown option ") + argv[optind - 1]);
        }
    }
    if (optind < argc)
        throw UsageError(std::string("unexpected argument '") + argv[optind] +
                         "' (optional values are written --late=MS, --noise=HEX, --flood=HEX)");
    if (options.faults.cutAt && !options.faults.cutOff && !options.faults.hangUp)
        throw UsageError("--cut-at needs --cut-off or --hang-up");
    if (!options.faultOn.empty() && !options.faults.Any())
        throw UsageError("--fault-on needs a fault to apply");
    if (!options.flood.empty() && options.faults.Any())
        throw UsageError("--flood answers nothing: no reply fault applies");

    options.protectionData = protectionData.value_or(ParseText(
        options.profile == Profile::Protected ? DEFAULT_PROTECTION_SET : DEFAULT_PROTECTION_NONE));
    return options;
}

const char* HelpText() {
    return R"(Usage: marlox-sim [OPTION]...
A substitute engine controller on a pseudo-terminal. Prints the path of the pty to open
(one line on stdout), then answers requests (command, 02, checksum) until it is stopped
by SIGTERM/SIGINT/SIGHUP, exits after --exit-after requests, or hangs up (--hang-up).
Garbage between requests is skipped. Every request is logged with what was done about it.

General:
  --profile NAME          which commands are answered (default tarvex):
                            tarvex     F3 engine code, F5 version, AD protection; 6B, 6C ignored
                            protected  like tarvex; protection data is eight spaces and 01
                            legacy     6B legacy engine code, 6C legacy version only
                            dual       all five
                            silent     nothing
  --link PATH             also make a symlink PATH to the pty (an old symlink there is
                          replaced); removed on exit
  --log FILE              log to FILE instead of stderr
  --exit-after N          exit after the N-th request has been handled
  -h, --help              this text

Answers (TEXT is taken literally; hex:4142004344 gives raw bytes, a zero byte included;
at most 253 bytes):
  --engine-code TEXT         F3 (default E7TX0421)
  --version TEXT             F5 (default V3.02)
  --protection-data TEXT     AD (default eight spaces; profile protected: hex:202020202020202001)
  --legacy-engine-code TEXT  6B (default E4LG0193)
  --legacy-version TEXT      6C (default V1.07)

Timing (every reply):
  --reply-delay MS        wait MS before replying
  --baud-pacing           the line at 19200 baud 8E1 in both directions: the reply starts after
                          the request's three byte times and each byte follows 11 bit times
                          (573 us) after the one before

Faults (every answered command, or only those named by --fault-on; combinable):
  --fault-on CMD          limit the faults to command CMD (hex, e.g. F3); may be repeated
  --bad-checksum          checksum off by one
  --cut-off               send only the first part of the reply (see --cut-at)
  --hang-up               send the first part of the reply, then close the pty and exit
  --cut-at N              frame bytes sent before --cut-off/--hang-up cut (default half the
                          frame; noise comes on top)
  --late[=MS]             reply only after MS (default 700), when the requester (which gives up
                          after five empty reads of 101 ms) has given up
  --noise[=HEX]           send these bytes before the reply (default 00FF: a length byte of
                          FF that the reply cannot fill)
  --long-reply            253 data bytes: the text, then '#' filler
  --byte-gap MS           pause MS between the reply's bytes (a requester counts each pause
                          over 101 ms as one empty read)
  --flood[=HEX]           answer nothing; send these bytes over and over instead, at the line's
                          rate (about 1745 bytes/s, dropped while the requester does not read),
                          from the start to the end whatever comes in (default 55AA: no frame
                          read from it, wherever it starts, has a valid checksum)

Exit status: 0 when stopped, after --exit-after or after a hang-up; 1 on a usage error;
2 when the pty or the symlink cannot be made.
)";
}

}  // namespace sim
