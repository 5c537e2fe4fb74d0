#pragma once
// What marlox-probe says to people, apart from its results: its usage and its messages.

namespace probe {

constexpr char PROBE_USAGE[] =
    "usage: marlox-probe PORT... [--json] [--detail] [--trace]\n"
    "       marlox-probe --all [--json] [--detail] [--trace]\n"
    "       marlox-probe --list [--watch] [--json] [--root DIR]\n";
constexpr char LIST_USAGE[] = "usage: marlox-probe --list [--json]\n";
constexpr char WATCH_USAGE[] = "usage: marlox-probe --list [--watch] [--json] [--root DIR]\n";

// Followed by the port, ": " and the reason.
constexpr char CANNOT_OPEN[] = "Can not open COM Port: ";
constexpr char OUTPUT_NOT_WRITTEN[] = "marlox-probe: the output could not be written\n";
// Followed by the directory in single quotes.
constexpr char NO_ROOT_DIRECTORY[] = "marlox-probe: --root: no such directory: ";
constexpr char ROOT_NOT_FILES[] = "marlox-probe: --root: this system's ports are not files\n";

}  // namespace probe
