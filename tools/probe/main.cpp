// marlox-probe PORT... [--json] [--detail] [--trace]: the connection test on the command line.
// marlox-probe --all ...: the same on every port discovery lists.
// marlox-probe --list [--json]: the ports that discovery finds.

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "tools/probe/ListPorts.h"
#include "tools/probe/MultiProbe.h"
#include "tools/probe/Options.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (std::find(args.begin(), args.end(), "--list") != args.end())
        return probe::RunListCommand(args, std::cout, std::cerr);

    const std::optional<probe::ProbeOptions> options = probe::ParseProbeOptions(args);
    if (!options) {
        std::cerr << probe::PROBE_USAGE;
        return probe::EXIT_USAGE;
    }
    if (options->help) {
        std::cout << probe::PROBE_USAGE;
        return probe::EXIT_TEST_RAN;
    }
    return probe::RunProbe(*options, sys::SystemDiscoveryPlatform(), sys::NewSystemSerialPorts,
                           probe::StandardErrorLines(), std::cout, std::cerr);
}
