#pragma once
// What marlox-probe was asked to do, from its command line (--list is dispatched before this).

#include <optional>
#include <string>
#include <vector>

namespace probe {

struct ProbeOptions {
    std::vector<std::string> ports;  // as typed, in the order given
    bool all = false;                // every port discovery lists, in list order
    bool json = false;
    bool detail = false;  // each inquiry's outcome, reply bytes and time
    bool trace = false;   // every byte on the wire to stderr
    bool help = false;
};

constexpr char PROBE_USAGE[] =
    "usage: marlox-probe PORT... [--json] [--detail] [--trace]\n"
    "       marlox-probe --all [--json] [--detail] [--trace]\n"
    "       marlox-probe --list [--watch] [--json] [--root DIR]\n";

// args without the program name. nullopt on a usage error: no port, ports beside --all, an
// unknown option or one given twice.
std::optional<ProbeOptions> ParseProbeOptions(const std::vector<std::string>& args);

// Several ports (or --all) print one block or JSON array element per port; one named port
// prints exactly what a single-port run always printed.
inline bool SeveralPorts(const ProbeOptions& options) {
    return options.all || options.ports.size() > 1;
}

}  // namespace probe
