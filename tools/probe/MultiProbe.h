#pragma once
// The connection test on several ports at once: one thread and one link per port; the results are
// printed in the order the ports were given once every test has ended.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sys/DiscoveryPlatform.h"
#include "sys/SerialPort.h"
#include "tools/probe/Options.h"
#include "tools/probe/Probe.h"
#include "tools/probe/WireTrace.h"

namespace probe {

struct PortTarget {
    std::string name;  // as shown and reported
    std::string path;  // as opened
};

struct PortReport {
    std::string port;
    std::optional<ProbeResults> results;  // nullopt: the port did not open
    std::string error;                    // why it did not open
};

// Tests every target on its own thread, each opening its port through `ports`. trace, when given,
// receives every port's wire trace, each line prefixed with the port's name.
std::vector<PortReport> ProbePorts(const std::vector<PortTarget>& targets, sys::SerialPorts& ports,
                                   LineSink* trace);

// One block per port, separated by an empty line; a port that did not open shows its reason.
std::string FormatReportsText(const std::vector<PortReport>& reports, bool detail);
// One array, one element per port in order: the single-port object, or port and error.
std::string FormatReportsJson(const std::vector<PortReport>& reports, bool detail);

// The typed ports, or with --all every port discovery lists (throws DiscoveryFailure).
std::vector<PortTarget> TargetsOf(const ProbeOptions& options, sys::DiscoveryPlatform& platform);

// Runs the test as the options ask and prints; returns the exit status (0 when every port's
// test ran, 2 when a port did not open, 1 when discovery failed or the output could not be
// written, EXIT_STOPPED plus the signal when a stop signal ended the tests).
int RunProbe(const ProbeOptions& options, sys::DiscoveryPlatform& platform, sys::SerialPorts& ports,
             LineSink& trace, std::ostream& out, std::ostream& err);

}  // namespace probe
