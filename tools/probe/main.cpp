// marlox-probe PORT [--json]: the connection test on the command line.
// marlox-probe --list [--json]: the ports that discovery finds.
// marlox-probe --list --watch [--json] [--root DIR]: the same, then each port coming or going.

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "link/SerialLink.h"
#include "tools/probe/ListPorts.h"
#include "tools/probe/Probe.h"
#include "tools/probe/WatchPorts.h"

namespace {

constexpr char USAGE[] =
    "usage: marlox-probe PORT [--json]\n"
    "       marlox-probe --list [--watch] [--json] [--root DIR]\n";

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto has = [&](const char* option) {
        return std::find(args.begin(), args.end(), option) != args.end();
    };
    if (has("--watch") || has("--root")) return probe::RunWatchCommand(args, std::cout, std::cerr);
    if (std::find(args.begin(), args.end(), "--list") != args.end())
        return probe::RunListCommand(args, std::cout, std::cerr);

    std::string port;
    bool json = false;
    for (const std::string& arg : args) {
        if (arg == "--json" && !json) {
            json = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << USAGE;
            return probe::EXIT_TEST_RAN;
        } else if (arg.rfind("-", 0) == 0 || !port.empty()) {
            std::cerr << USAGE;
            return probe::EXIT_USAGE;
        } else {
            port = arg;
        }
    }
    if (port.empty()) {
        std::cerr << USAGE;
        return probe::EXIT_USAGE;
    }

    CSerialLink link;
    return probe::Probe(link, port, json, std::cout, std::cerr);
}
