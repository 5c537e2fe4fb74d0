#include "tools/probe/Options.h"

#include <getopt.h>

#include <utility>

#include "tools/probe/Texts.h"

namespace probe {
namespace {

enum OptionId {
    OPERAND = 1,  // what getopt_long returns for an operand when asked to keep their order
    OPT_ALL = 256,
    OPT_JSON,
    OPT_DETAIL,
    OPT_TRACE,
    OPT_LIST,
    OPT_WATCH,
    OPT_ROOT,
};

const option LONG_OPTIONS[] = {
    {"all", no_argument, nullptr, OPT_ALL},
    {"json", no_argument, nullptr, OPT_JSON},
    {"detail", no_argument, nullptr, OPT_DETAIL},
    {"trace", no_argument, nullptr, OPT_TRACE},
    {"help", no_argument, nullptr, 'h'},
    {"list", no_argument, nullptr, OPT_LIST},
    {"watch", no_argument, nullptr, OPT_WATCH},
    {"root", required_argument, nullptr, OPT_ROOT},
    {nullptr, 0, nullptr, 0},
};

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
        case OPT_ALL: return Once(options.all);
        case OPT_JSON: return Once(options.json);
        case OPT_DETAIL: return Once(options.detail);
        case OPT_TRACE: return Once(options.trace);
        case 'h': return Once(options.help);
        case OPT_LIST: return Once(list);
        case OPT_WATCH: return Once(options.watch);
        case OPT_ROOT: options.root = value; return Once(rootGiven);
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
