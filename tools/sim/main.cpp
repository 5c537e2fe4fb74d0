// marlox-sim: a substitute engine controller on a pseudo-terminal.

#include <sys/prctl.h>

#include <iostream>
#include <memory>
#include <system_error>

#include "tools/sim/Log.h"
#include "tools/sim/Pty.h"
#include "tools/sim/SimOptions.h"
#include "tools/sim/Simulator.h"
#include "tools/sim/Wait.h"

namespace {

const char* EndText(sim::RunEnd end) {
    switch (end) {
    case sim::RunEnd::Stopped: return "stopped by signal";
    case sim::RunEnd::ExitAfter: return "exit after the last request (--exit-after)";
    case sim::RunEnd::HungUp: return "exit after hang-up";
    case sim::RunEnd::PtyFailed: return "exit: the pty failed";
    }
    return "exit";
}

}  // namespace

int main(int argc, char* argv[]) {
    sim::SimOptions options;
    try {
        options = sim::ParseOptions(argc, argv);
    } catch (const sim::UsageError& error) {
        std::cerr << "marlox-sim: " << error.what() << "\nTry 'marlox-sim --help'.\n";
        return 1;
    }
    if (options.showHelp) {
        std::cout << sim::HelpText();
        return 0;
    }

    try {
        sim::Log log(options.logPath);
        // Signals are caught before the symlink exists, so a stop always removes it.
        sim::StopSignals signals;
        sim::Pty pty;
        std::unique_ptr<sim::ScopedSymlink> link;
        if (!options.linkPath.empty())
            link = std::make_unique<sim::ScopedSymlink>(pty.SlavePath(), options.linkPath);
        // Byte-time pacing needs sub-millisecond wake-ups; the default slack is 50 us.
        if (options.baudPacing) prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

        log.Line("marlox-sim on " + pty.SlavePath() + ", profile " +
                 sim::ProfileName(options.profile) +
                 (options.linkPath.empty() ? "" : ", link " + options.linkPath));
        std::cout << pty.SlavePath() << std::endl;

        const sim::RunEnd end = sim::Simulator(options, pty, log, signals).Run();
        log.Line(EndText(end));
        return end == sim::RunEnd::PtyFailed ? 2 : 0;
    } catch (const std::system_error& error) {
        std::cerr << "marlox-sim: " << error.what() << '\n';
        return 2;
    }
}
