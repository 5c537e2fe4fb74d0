#pragma once
// The connection test on the command line: run it on one port, print the five outcomes.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "link/ConnectionTest.h"
#include "sys/PortNames.h"

class CSerialLink;

namespace probe {

constexpr int EXIT_TEST_RAN = 0;
constexpr int EXIT_USAGE = 1;
constexpr int EXIT_CANNOT_OPEN = 2;

struct ProbeResults {
    std::optional<std::string> engineCode;
    std::optional<std::string> version;
    ProtectionResult protection = ProtectionResult::NoResponse;
    std::optional<std::string> legacyEngineCode;
    std::optional<std::string> legacyVersion;
    std::vector<ExchangeRecord> exchanges;  // the five, in the order made
};

// "answered", "no-reply", "bad-checksum" or "read-error".
const char* OutcomeName(std::int32_t exchangeResult);

// What the user typed to what the OS opens. With Windows port names a bare name such as COM3
// becomes its device path \\.\COM3 (the only form that reaches COM10 and above) and a name
// already beginning with \\ stays; elsewhere the text is the path.
std::string PathToOpen(const std::string& port, bool windowsNames = sys::WINDOWS_PORT_NAMES);

// Controller texts and port names are untrusted bytes: control characters and bytes outside
// ASCII become \xNN, so nothing raw reaches a terminal.
std::string Printable(const std::string& bytes);

// Runs the test on an open link.
ProbeResults RunProbeTest(CSerialLink& link);

// detail adds each exchange's outcome, reply bytes and milliseconds.
std::string FormatText(const std::string& port, const ProbeResults& results, bool detail = false);
// One object and a line break.
std::string FormatJson(const std::string& port, const ProbeResults& results, bool detail = false);

// Opens the port, runs the test, prints, closes. Returns the exit status.
int Probe(CSerialLink& link, const std::string& port, bool json, std::ostream& out,
          std::ostream& err, bool detail = false);

}  // namespace probe
