#include "tools/probe/Options.h"

#include <getopt.h>

#include <utility>

#include "tools/probe/Texts.h"

namespace probe {
namespace {

// Each long option returns its first letter; of the short ones only -h is taken.
const option LONG_OPTIONS[] = {
    {"all", no_argument, nullptr, 'a'},
    {"json", no_argument, nullptr, 'j'},
    {"detail", no_argument, nullptr, 'd'},
    {"trace", no_argument, nullptr, 't'},
    {"help", no_argument, nullptr, 'h'},
    {"list", no_argument, nullptr, 'l'},
    {"watch", no_argument, nullptr, 'w'},
    {"root", required_argument, nullptr, 'r'},
    {},
};
// What getopt_long returns for an operand when asked to keep operands in their place.
constexpr int OPERAND = 1;

struct Parsed {
    ProbeOptions options;
    bool valid = true;
};

// False the second time.
bool Once(bool& flag) { return !std::exchange(flag, true); }

// Reads every argument even after a bad one, so a usage error still tells its form.
Parsed Parse(const std::vector<std::string>& args) {
    // getopt_long reorders the pointers it is given, never their strings.
    std::vector<std::string> strings{"marlox-probe"};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : strings)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(strings.size());

    Parsed parsed;
    ProbeOptions& options = parsed.options;
    bool list = false;
    bool rootGiven = false;
    const auto take = [&](int id, const char* value) {
        switch (id) {
        case OPERAND:
            options.ports.push_back(value);
            // No port begins with '-': a mistyped option is never taken for one.
            return *value != '\0' && *value != '-';
        case 'a': return Once(options.all);
        case 'j': return Once(options.json);
        case 'd': return Once(options.detail);
        case 't': return Once(options.trace);
        case 'h': return Once(options.help);
        case 'l': return Once(list);
        case 'w': return Once(options.watch);
        case 'r': options.root = value; return Once(rootGiven);
        case ':': rootGiven = true; return false;  // --root without its directory
        default: return false;                     // an unknown option
        }
    };
    opterr = 0;  // the caller prints the usage instead
    optind = 0;  // a parse of its own: glibc and mingw-w64 both start afresh on 0
    // "-": operands come back in their place; ":": a missing value apart from an unknown option.
    for (int id; (id = getopt_long(argc, argv.data(), "-:h", LONG_OPTIONS, nullptr)) != -1;)
        parsed.valid = take(id, optarg) && parsed.valid;
    for (int i = optind; i < argc; ++i)  // after "--"
        parsed.valid = take(OPERAND, argv[i]) && parsed.valid;

    options.form = options.watch || rootGiven ? Form::Watch : list ? Form::List : Form::Test;
    if (options.form == Form::Test) {
        if (!options.help && options.all == !options.ports.empty()) parsed.valid = false;
    } else if (!list || options.all || options.detail || options.trace || options.help ||
               !options.ports.empty()) {
        parsed.valid = false;
    }
    return parsed;
}

}  // namespace

std::optional<ProbeOptions> ParseProbeOptions(const std::vector<std::string>& args) {
    Parsed parsed = Parse(args);
    if (!parsed.valid) return std::nullopt;
    return std::move(parsed.options);
}

Form FormOf(const std::vector<std::string>& args) { return Parse(args).options.form; }

const char* UsageOf(Form form) {
    switch (form) {
    case Form::Test: break;
    case Form::List: return LIST_USAGE;
    case Form::Watch: return WATCH_USAGE;
    }
    return PROBE_USAGE;
}

}  // namespace probe
