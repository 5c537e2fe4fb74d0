#include "tools/probe/WatchPorts.h"

#include <filesystem>
#include <memory>

#include "ports/DiscoverPorts.h"
#include "tools/probe/Json.h"
#include "tools/probe/ListPorts.h"
#include "tools/probe/Probe.h"

namespace probe {

namespace {

constexpr char USAGE[] = "usage: marlox-probe --list [--watch] [--json] [--root DIR]\n";

bool Contains(const PortList& list, const PortEntry& entry) {
    for (std::size_t i = 0; i < list.GetCount(); ++i)
        if (list.GetAt(i) == entry) return true;
    return false;
}

// Discovery, with a failure reported once until it succeeds again.
class Lister {
public:
    explicit Lister(sys::DiscoveryPlatform& platform) : m_platform(platform) {}

    bool List(PortList& ports, std::ostream& err) {
        try {
            DiscoverPorts(ports, m_platform);
        } catch (const DiscoveryFailure& failure) {
            if (!m_failing) err << Printable(failure.what()) << std::endl;
            m_failing = true;
            return false;
        }
        m_failing = false;
        return true;
    }

private:
    sys::DiscoveryPlatform& m_platform;
    bool m_failing = false;
};

}  // namespace

std::vector<PortChange> DiffPorts(const PortList& before, const PortList& after) {
    std::vector<PortChange> changes;
    for (std::size_t i = 0; i < before.GetCount(); ++i)
        if (!Contains(after, before.GetAt(i))) changes.push_back({false, before.GetAt(i)});
    for (std::size_t i = 0; i < after.GetCount(); ++i)
        if (!Contains(before, after.GetAt(i))) changes.push_back({true, after.GetAt(i)});
    return changes;
}

std::string FormatChangeText(const PortChange& change) {
    PortList one;
    one.Append(change.entry);
    return (change.added ? "added\t" : "removed\t") + FormatPortsText(one);
}

std::string FormatChangeJson(const PortChange& change) {
    const PortEntry& entry = change.entry;
    return JsonObject()
               .String("event", change.added ? "added" : "removed")
               .Raw("port", JsonObject()
                                .String("devicePath", entry.devicePath)
                                .String("portName", entry.portName)
                                .String("friendlyName", entry.friendlyName)
                                .Bool("isUsb", entry.isUsb)
                                .String("description", entry.description)
                                .Text())
               .Text() +
           "\n";
}

int WatchPorts(sys::DiscoveryPlatform& platform, sys::PortWatch& watch, bool json,
               std::ostream& out, std::ostream& err) {
    Lister lister(platform);
    PortList current;
    if (!lister.List(current, err)) return EXIT_DISCOVERY_FAILED;
    const std::string list = json ? FormatPortsJson(current) : FormatPortsText(current);
    if (const int status = Print(list, EXIT_TEST_RAN, out, err); status != EXIT_TEST_RAN)
        return status;

    for (;;) {
        sys::WatchWake wake = watch.Wait(POLL_MS);
        // A device comes in several events (USB device, interface, tty): list once they stop.
        while (wake == sys::WatchWake::PortsChanged)
            wake = watch.Wait(SETTLE_MS);
        if (wake == sys::WatchWake::Stopped) return EXIT_TEST_RAN;

        PortList fresh;
        if (!lister.List(fresh, err)) continue;
        std::string lines;
        for (const PortChange& change : DiffPorts(current, fresh))
            lines += json ? FormatChangeJson(change) : FormatChangeText(change);
        // Nobody reads what cannot be written: the watch would run on for nothing.
        if (const int status = Print(lines, EXIT_TEST_RAN, out, err); status != EXIT_TEST_RAN)
            return status;
        current = fresh;
    }
}

int RunWatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool list = false;
    bool watchFlag = false;
    bool json = false;
    const std::string* root = nullptr;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--list" && !list) {
            list = true;
        } else if (arg == "--watch" && !watchFlag) {
            watchFlag = true;
        } else if (arg == "--json" && !json) {
            json = true;
        } else if (arg == "--root" && root == nullptr && i + 1 < args.size()) {
            root = &args[++i];
        } else {
            err << USAGE;
            return EXIT_USAGE;
        }
    }
    if (!list) {
        err << USAGE;
        return EXIT_USAGE;
    }
    std::unique_ptr<sys::DiscoveryPlatform> rooted;
    if (root != nullptr) {
        // A missing tree would list nothing, and '' the running system: neither is what was asked.
        std::error_code error;
        if (!std::filesystem::is_directory(*root, error)) {
            err << "marlox-probe: --root: no such directory: '" << Printable(*root) << "'\n";
            return EXIT_USAGE;
        }
        rooted = sys::DiscoveryPlatformUnder(*root);
        if (!rooted) {
            err << "marlox-probe: --root: this system's ports are not files\n";
            return EXIT_USAGE;
        }
    }
    sys::DiscoveryPlatform& platform = rooted ? *rooted : sys::SystemDiscoveryPlatform();
    if (!watchFlag) return ListPorts(platform, json, out, err);
    const std::unique_ptr<sys::PortWatch> watch = sys::OpenPortWatch();
    return WatchPorts(platform, *watch, json, out, err);
}

}  // namespace probe
