// marlox-probe PORT [--json]: the connection test on the command line.
// marlox-probe --list [--json]: the ports that discovery finds.

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "link/SerialLink.h"
#include "tools/probe/ListPorts.h"
#include "tools/probe/Probe.h"

namespace {

constexpr char USAGE[] =
    "usage: marlox-probe PORT [--json]\n"
    "       marlox-probe --list [--json]\n";

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
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
