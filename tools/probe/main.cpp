// marlox-probe PORT... [--json] [--detail] [--trace]: the connection test on the command line.
// marlox-probe --all ...: the same on every port discovery lists.
// marlox-probe --list [--json]: the ports that discovery finds.
// marlox-probe --list --watch [--json] [--root DIR]: the same, then each port coming or going.

#include <iostream>
#include <string>
#include <vector>

#include "sys/StandardDescriptors.h"
#include "sys/StopSignals.h"
#include "tools/probe/ListPorts.h"
#include "tools/probe/MultiProbe.h"
#include "tools/probe/Options.h"
#include "tools/probe/FollowPorts.h"
#include "tools/probe/Texts.h"

int main(int argc, char** argv) {
    // Nowhere to say it: no stand-in for a closed standard stream could be opened.
    if (!sys::ReserveStandardDescriptors()) return probe::EXIT_WRITE_FAILED;
    const std::vector<std::string> args(argv + 1, argv + argc);
    switch (probe::FormOf(args)) {
    case probe::Form::Watch: return probe::RunWatchCommand(args, std::cout, std::cerr);
    case probe::Form::List: return probe::RunListCommand(args, std::cout, std::cerr);
    case probe::Form::Test: break;
    }

    const std::optional<probe::ProbeOptions> options = probe::ParseProbeOptions(args);
    if (!options) {
        std::cerr << probe::PROBE_USAGE;
        return probe::EXIT_USAGE;
    }
    if (options->help) {
        std::cout << probe::PROBE_USAGE;
        return probe::EXIT_OK;
    }
    // Stopped mid-test, the probe closes its ports (lock file, exclusive flag) before it ends.
    sys::CatchStopSignals();
    return probe::RunProbe(*options, sys::SystemDiscoveryPlatform(), sys::SystemSerialPorts(),
                           probe::StandardErrorLines(), std::cout, std::cerr);
}
