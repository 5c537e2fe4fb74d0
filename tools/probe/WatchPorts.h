#pragma once
// marlox-probe --list --watch [--json] [--root DIR]: the port list, then one line per port that
// comes or goes, until interrupted (exit 0) or its output cannot be written (exit 1).

#include <ostream>
#include <string>
#include <vector>

#include "ports/PortList.h"
#include "sys/DiscoveryPlatform.h"
#include "sys/PortWatch.h"

namespace probe {

struct PortChange {
    bool added = false;  // else removed
    PortEntry entry;
};

// Entries of before missing from after (removed, in before's order), then entries of after
// missing from before (added, in after's order). An entry whose fields changed is both.
std::vector<PortChange> DiffPorts(const PortList& before, const PortList& after);

// "added" or "removed", a tab, then the entry as --list prints it.
std::string FormatChangeText(const PortChange& change);
// One line: {"event":"added","port":{...as --list --json...}}.
std::string FormatChangeJson(const PortChange& change);

// How often the list is looked at without the system's word; how long a burst of device events
// must have been quiet before it is.
constexpr int POLL_MS = 1000;
constexpr int SETTLE_MS = 250;

// Prints the list, then the changes as they come, until the watch stops. A failure of the first
// discovery ends it (exit 1); a later one keeps the list as it was and is said once on err.
// Output that cannot be written ends it too (exit 1).
int WatchPorts(sys::DiscoveryPlatform& platform, sys::PortWatch& watch, bool json,
               std::ostream& out, std::ostream& err);

// args without the program name: "--list", "--watch", "--json", "--root DIR", each at most once;
// DIR must be a directory.
// Without "--watch", the list once, as --list prints it.
int RunWatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace probe
