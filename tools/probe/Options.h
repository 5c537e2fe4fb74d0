#pragma once
// What marlox-probe was asked to do, from its command line.

#include <optional>
#include <string>
#include <vector>

namespace probe {

// The three forms of the command line. --watch or --root make it the watching list (which
// lists once without --watch), --list alone the plain list, anything else the connection test.
enum class Form { Test, List, Watch };

struct ProbeOptions {
    Form form = Form::Test;
    std::vector<std::string> ports;  // as typed, in the order given
    bool all = false;                // every port discovery lists, in list order
    bool json = false;
    bool detail = false;  // each inquiry's outcome, reply bytes and time
    bool trace = false;   // every byte on the wire to stderr
    bool help = false;
    bool watch = false;               // the list, then each port coming or going
    std::optional<std::string> root;  // list the ports of a recorded tree instead
};

// args without the program name. nullopt on a usage error: an unknown option, one given twice
// or not of the form, a missing value; for the test, no port or ports beside --all; for the
// lists, no --list or anything else beside the options.
std::optional<ProbeOptions> ParseProbeOptions(const std::vector<std::string>& args);

// The form args are meant as, valid or not: the one whose usage a usage error prints.
Form FormOf(const std::vector<std::string>& args);
const char* UsageOf(Form form);

// Several ports (or --all) print one block or JSON array element per port; one named port
// prints exactly what a single-port run always printed.
inline bool SeveralPorts(const ProbeOptions& options) {
    return options.all || options.ports.size() > 1;
}

}  // namespace probe
