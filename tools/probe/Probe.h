#pragma once
// The connection test on the command line: run it on one port, print the five outcomes.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "link/ConnectionTest.h"
#include "sys/PortNames.h"
#include "tools/probe/Json.h"

class CSerialLink;

namespace probe {

constexpr int EXIT_OK = 0;  // the test ran, the list was printed, the help shown
constexpr int EXIT_USAGE = 1;
constexpr int EXIT_CANNOT_OPEN = 2;
constexpr int EXIT_WRITE_FAILED = 1;

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

// Every text from the wire or the system (controller answers, port and device names, a holder's
// process name in a reason) before it is printed, as text or JSON alike: each byte of a C0 or C1
// control, DEL, a bidirectional override or isolate, or a byte that is not well-formed UTF-8
// becomes \xNN; the rest of UTF-8 stays readable. Nothing raw steers a terminal.
std::string Printable(const std::string& bytes);

// Writes a finished run's output and returns status; EXIT_WRITE_FAILED, said on err, when the
// output cannot be written (a full disk, a closed stream, a reader gone with SIGPIPE ignored).
// A run cut short by a stop signal prints nothing and returns EXIT_STOPPED plus the signal.
int Print(const std::string& text, int status, std::ostream& out, std::ostream& err);

// Runs the test on an open link.
ProbeResults RunProbeTest(CSerialLink& link);

// detail adds each exchange's outcome, reply bytes and milliseconds.
std::string FormatText(const std::string& port, const ProbeResults& results, bool detail = false);
// The object FormatJson writes.
Json ResultsJson(const std::string& port, const ProbeResults& results, bool detail);
// One object and a line break.
std::string FormatJson(const std::string& port, const ProbeResults& results, bool detail = false);

// Opens the port, runs the test, prints, closes. Returns the exit status.
int Probe(CSerialLink& link, const std::string& port, bool json, std::ostream& out,
          std::ostream& err, bool detail = false);

}  // namespace probe
