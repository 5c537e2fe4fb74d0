#include "tools/probe/MultiProbe.h"

#include "link/SerialLink.h"
#include "ports/DiscoverPorts.h"
#include "sys/PortNames.h"
#include "sys/Threads.h"
#include "tools/probe/Json.h"
#include "tools/probe/ListPorts.h"
#include "tools/probe/Stoppable.h"

namespace probe {
namespace {

// One link's source of ports, traced when asked; a stop signal silences it before the trace
// sees anything more.
class LinkPorts {
public:
    LinkPorts(sys::SerialPorts& ports, LineSink* trace, std::string prefix) {
        if (trace) m_traced.emplace(ports, *trace, std::move(prefix));
        m_stoppable.emplace(m_traced ? static_cast<sys::SerialPorts&>(*m_traced) : ports);
    }
    sys::SerialPorts& Get() { return *m_stoppable; }

private:
    std::optional<TracingSerialPorts> m_traced;
    std::optional<StoppablePorts> m_stoppable;
};

// Runs on the port's own thread and touches nothing but its own report.
void ProbeOne(const PortTarget& target, sys::SerialPorts& systemPorts, LineSink* trace,
              PortReport& report) {
    report.port = target.name;
    LinkPorts ports(systemPorts, trace, Printable(target.name) + ": ");
    CSerialLink link(ports.Get());
    if (!link.Open(target.path)) {
        report.error = sys::OpenFailureText(link.LastOpenError());
        return;
    }
    report.results = RunProbeTest(link);
    link.Close();
}

// The single-port object, or the port and why it did not open.
Json ReportJson(const PortReport& report, bool detail) {
    if (report.results) return ResultsJson(report.port, *report.results, detail);
    return {{"port", JsonString(report.port)}, {"error", JsonString(report.error)}};
}

}  // namespace

std::vector<PortReport> ProbePorts(const std::vector<PortTarget>& targets, sys::SerialPorts& ports,
                                   LineSink* trace) {
    std::vector<PortReport> reports(targets.size());
    sys::RunEachOnItsOwnThread(
        targets.size(), [&](std::size_t i) { ProbeOne(targets[i], ports, trace, reports[i]); });
    return reports;
}

std::string FormatReportsText(const std::vector<PortReport>& reports, bool detail) {
    std::string text;
    for (const PortReport& report : reports) {
        if (!text.empty()) text += "\n";
        if (report.results) {
            text += FormatText(report.port, *report.results, detail);
        } else {
            text +=
                "Port: " + Printable(report.port) + "\nError: " + Printable(report.error) + "\n";
        }
    }
    return text;
}

std::string FormatReportsJson(const std::vector<PortReport>& reports, bool detail) {
    Json elements = Json::array();
    for (const PortReport& report : reports)
        elements.push_back(ReportJson(report, detail));
    return JsonText(elements) + "\n";
}

std::vector<PortTarget> TargetsOf(const ProbeOptions& options, sys::DiscoveryPlatform& platform) {
    std::vector<PortTarget> targets;
    if (!options.all) {
        for (const std::string& port : options.ports)
            targets.push_back({port, PathToOpen(port)});
        return targets;
    }
    PortList ports;
    DiscoverPorts(ports, platform);
    for (std::size_t i = 0; i < ports.GetCount(); ++i) {
        const PortEntry& entry = ports.GetAt(i);
        // Windows users know their ports as COM3, not by device path.
        const bool byName = sys::WINDOWS_PORT_NAMES && !entry.portName.empty();
        targets.push_back({byName ? entry.portName : entry.devicePath, entry.devicePath});
    }
    return targets;
}

int RunProbe(const ProbeOptions& options, sys::DiscoveryPlatform& platform, sys::SerialPorts& ports,
             LineSink& trace, std::ostream& out, std::ostream& err) {
    LineSink* const traceSink = options.trace ? &trace : nullptr;
    if (!SeveralPorts(options)) {
        LinkPorts linkPorts(ports, traceSink, "");
        CSerialLink link(linkPorts.Get());
        return Probe(link, options.ports.front(), options.json, out, err, options.detail);
    }

    std::vector<PortTarget> targets;
    try {
        targets = TargetsOf(options, platform);
    } catch (const DiscoveryFailure& failure) {
        err << Printable(failure.what()) << '\n';
        return EXIT_DISCOVERY_FAILED;
    }
    const std::vector<PortReport> reports = ProbePorts(targets, ports, traceSink);
    int status = EXIT_OK;
    for (const PortReport& report : reports)
        if (!report.results) status = EXIT_CANNOT_OPEN;
    return Print(options.json ? FormatReportsJson(reports, options.detail)
                              : FormatReportsText(reports, options.detail),
                 status, out, err);
}

}  // namespace probe
