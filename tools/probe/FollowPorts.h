#pragma once
// marlox-probe --list --watch [--json] [--root DIR]: the port list, then one line per port that
// comes or goes, until interrupted (exit 0) or its output cannot be written or is read by
// nobody (exit 1).

#include <ostream>
#include <string>
#include <vector>

#include "ports/PortTracker.h"
#include "sys/DiscoveryPlatform.h"
#include "sys/PortEventWait.h"

namespace probe {

// "added" or "removed", a tab, then the entry as --list prints it.
std::string FormatChangeText(const PortChange& change);
// One line: {"event":"added","port":{...as --list --json...}}.
std::string FormatChangeJson(const PortChange& change);

// How often the list is looked at without the system's word.
constexpr int POLL_MS = 1000;

// Prints the list, then the changes once each burst of events has settled and at every quiet
// interval, until the wait stops. A failure of the first discovery ends it (exit 1); a later
// one keeps the list as it was and is said once on err. Output that cannot be written, or
// whose reader has gone, ends it too (exit 1).
int FollowPorts(sys::DiscoveryPlatform& platform, sys::PortEventWait& wait, bool json,
                std::ostream& out, std::ostream& err);

// args without the program name: "--list", "--watch", "--json", "--root DIR", each at most once;
// DIR must be a directory.
// Without "--watch", the list once, as --list prints it.
int RunWatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace probe
