#include "tools/probe/WatchPorts.h"

#include <filesystem>
#include <memory>

#include "ports/DiscoverPorts.h"
#include "tools/probe/Json.h"
#include "tools/probe/ListPorts.h"
#include "tools/probe/Options.h"
#include "tools/probe/Probe.h"
#include "tools/probe/Texts.h"

namespace probe {

namespace {

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
    const Json port = {{"devicePath", JsonString(entry.devicePath)},
                       {"portName", JsonString(entry.portName)},
                       {"friendlyName", JsonString(entry.friendlyName)},
                       {"isUsb", entry.isUsb},
                       {"description", JsonString(entry.description)}};
    return JsonText({{"event", change.added ? "added" : "removed"}, {"port", port}}) + "\n";
}

int WatchPorts(sys::DiscoveryPlatform& platform, sys::PortWatch& watch, bool json,
               std::ostream& out, std::ostream& err) {
    Lister lister(platform);
    PortList current;
    if (!lister.List(current, err)) return EXIT_DISCOVERY_FAILED;
    const std::string list = json ? FormatPortsJson(current) : FormatPortsText(current);
    if (const int status = Print(list, EXIT_OK, out, err); status != EXIT_OK) return status;

    for (;;) {
        sys::WatchWake wake = watch.Wait(POLL_MS);
        // A device comes in several events (USB device, interface, tty): list once they stop.
        while (wake == sys::WatchWake::PortsChanged)
            wake = watch.Wait(SETTLE_MS);
        if (wake == sys::WatchWake::Stopped) return EXIT_OK;

        PortList fresh;
        if (!lister.List(fresh, err)) continue;
        std::string lines;
        for (const PortChange& change : DiffPorts(current, fresh))
            lines += json ? FormatChangeJson(change) : FormatChangeText(change);
        // Nobody reads what cannot be written: the watch would run on for nothing.
        if (const int status = Print(lines, EXIT_OK, out, err); status != EXIT_OK) return status;
        current = fresh;
    }
}

int RunWatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::optional<ProbeOptions> options = ParseProbeOptions(args);
    if (!options || options->form != Form::Watch) {
        err << WATCH_USAGE;
        return EXIT_USAGE;
    }
    const std::optional<std::string>& root = options->root;
    std::unique_ptr<sys::DiscoveryPlatform> rooted;
    if (root) {
        // A missing tree would list nothing, and '' the running system: neither is what was asked.
        std::error_code error;
        if (!std::filesystem::is_directory(*root, error)) {
            err << NO_ROOT_DIRECTORY << "'" << Printable(*root) << "'\n";
            return EXIT_USAGE;
        }
        rooted = sys::DiscoveryPlatformUnder(*root);
        if (!rooted) {
            err << ROOT_NOT_FILES;
            return EXIT_USAGE;
        }
    }
    sys::DiscoveryPlatform& platform = rooted ? *rooted : sys::SystemDiscoveryPlatform();
    if (!options->watch) return ListPorts(platform, options->json, out, err);
    const std::unique_ptr<sys::PortWatch> watch = sys::OpenPortWatch();
    return WatchPorts(platform, *watch, options->json, out, err);
}

}  // namespace probe
