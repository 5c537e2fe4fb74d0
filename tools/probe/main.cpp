// marlox-probe PORT... [--json] [--detail] [--trace]: the connection test on the command line.
// marlox-probe --all ...: the same on every port discovery lists.
// marlox-probe --list [--json]: the ports that discovery finds.
// marlox-probe --list --watch [--json] [--root DIR]: the same, then each port coming or going.

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "sys/StopSignals.h"
#include "tools/probe/ListPorts.h"
#include "tools/probe/MultiProbe.h"
#include "tools/probe/Options.h"
#include "tools/probe/FollowPorts.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto has = [&](const char* option) {
        return std::find(args.begin(), args.end(), option) != args.end();
    };
    if (has("--watch") || has("--root")) return probe::RunWatchCommand(args, std::cout, std::cerr);
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
    // Stopped mid-test, the probe closes its ports (lock file, exclusive flag) before it ends.
    sys::CatchStopSignals();
    return probe::RunProbe(*options, sys::SystemDiscoveryPlatform(), sys::SystemSerialPorts(),
                           probe::StandardErrorLines(), std::cout, std::cerr);
}
