// Time to list this machine's serial ports, in-process and repeated: Marlox's Linux discovery
// (DiscoverPorts through the sysfs port inventory) against libserialport's sp_list_ports and
// pyserial's comports(), timed inside Python. Prints medians, ratios and the set of ports each
// one found.
#include "ports/DiscoverPorts.h"

#include <libserialport.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int ROUNDS = 15;

using PortSet = std::set<std::string>;

double SecondsPerCall(int calls, const std::function<void()>& list) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        list();
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / calls;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Median seconds per call of each lister. Their rounds alternate, so that a change in the
// machine's load (other builds on the same cores) falls on both alike and the ratio holds.
std::pair<double, double> MedianSecondsPerCallSideBySide(int calls,
                                                         const std::function<void()>& first,
                                                         const std::function<void()>& second) {
    std::vector<double> firstPerCall;
    std::vector<double> secondPerCall;
    for (int round = 0; round < ROUNDS; ++round) {
        firstPerCall.push_back(SecondsPerCall(calls, first));
        secondPerCall.push_back(SecondsPerCall(calls, second));
    }
    return {Median(firstPerCall), Median(secondPerCall)};
}

PortSet MarloxPorts() {
    PortList ports;
    DiscoverPorts(ports);
    PortSet found;
    for (std::size_t i = 0; i < ports.GetCount(); ++i)
        found.insert(ports.GetAt(i).devicePath);
    return found;
}

PortSet LibserialportPorts() {
    sp_port** list = nullptr;
    PortSet found;
    if (sp_list_ports(&list) != SP_OK) return found;
    for (sp_port** port = list; *port != nullptr; ++port)
        found.insert(sp_get_port_name(*port));
    sp_free_port_list(list);
    return found;
}

// Runs the Python side; returns its median seconds per call, or a negative value on failure.
double PyserialPorts(const std::string& python, const std::string& script, int calls,
                     PortSet& found) {
    const std::string command =
        python + " '" + script + "' " + std::to_string(ROUNDS) + " " + std::to_string(calls);
    const auto close = [](FILE* f) { ::pclose(f); };
    std::unique_ptr<FILE, decltype(close)> pipe(::popen(command.c_str(), "r"), close);
    if (!pipe) return -1;
    std::string output;
    char chunk[512];
    while (std::fgets(chunk, sizeof chunk, pipe.get()) != nullptr)
        output += chunk;
    std::istringstream lines(output);
    double seconds = -1;
    if (!(lines >> seconds)) return -1;
    std::string device;
    while (lines >> device)
        found.insert(device);
    return seconds;
}

std::string Show(const PortSet& ports) {
    if (ports.empty()) return "(none)";
    std::string text;
    for (const std::string& port : ports)
        text += (text.empty() ? "" : " ") + port;
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: bench_ports PYTHON LIST_PORTS_SCRIPT\n";
        return 2;
    }
    const int calls = 200;

    const PortSet marlox = MarloxPorts();
    const PortSet libserialport = LibserialportPorts();
    PortSet pyserial;

    const auto [marloxTime, libserialportTime] = MedianSecondsPerCallSideBySide(
        calls, [] { MarloxPorts(); }, [] { LibserialportPorts(); });
    const double pyserialTime = PyserialPorts(argv[1], argv[2], calls, pyserial);

    std::printf(
        "Listing this machine's serial ports, median of %d rounds of %d calls "
        "(Marlox and libserialport rounds alternate)\n",
        ROUNDS, calls);
    std::printf("  %-34s %9.1f us per call\n", "Marlox DiscoverPorts (sysfs)", marloxTime * 1e6);
    std::printf("  %-34s %9.1f us per call   ratio peer/Marlox %.2f\n",
                "libserialport sp_list_ports", libserialportTime * 1e6,
                libserialportTime / marloxTime);
    if (pyserialTime > 0)
        std::printf("  %-34s %9.1f us per call   ratio peer/Marlox %.2f\n",
                    "pyserial comports() (in Python)", pyserialTime * 1e6,
                    pyserialTime / marloxTime);
    else
        std::printf("  pyserial comports(): could not run %s\n", argv[1]);

    std::printf("Ports found\n");
    std::printf("  Marlox:        %s\n", Show(marlox).c_str());
    std::printf("  libserialport: %s\n", Show(libserialport).c_str());
    std::printf("  pyserial:      %s\n", Show(pyserial).c_str());
    if (marlox.empty() && libserialport.empty() && pyserial.empty())
        std::printf("  This machine has no real serial ports: the sets are trivially equal.\n");
    else if (marlox == libserialport && marlox == pyserial)
        std::printf("  All three found the same ports.\n");
    else
        std::printf("  The sets differ.\n");
    return 0;
}
