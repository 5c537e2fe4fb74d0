#include "tools/probe/FollowPorts.h"

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

// The tracker's settling, as the time-out of the next wait; the quiet interval when none runs.
class WaitTimeout : public SettleTimer {
public:
    void Start(unsigned ms) override { m_ms = static_cast<int>(ms); }
    void Stop() override { m_ms = POLL_MS; }
    int Ms() const { return m_ms; }

private:
    int m_ms = POLL_MS;
};

}  // namespace

std::string FormatChangeText(const PortChange& change) {
    PortList one;
    one.Append(change.entry);
    return (change.added ? "added\t" : "removed\t") + FormatPortsText(one);
}

std::string FormatChangeJson(const PortChange& change) {
    return JsonText(
               {{"event", change.added ? "added" : "removed"}, {"port", PortJson(change.entry)}}) +
           "\n";
}

int FollowPorts(sys::DiscoveryPlatform& platform, sys::PortEventWait& wait, bool json,
                std::ostream& out, std::ostream& err) {
    PortList current;
    if (const int status = ListPorts(platform, json, out, err, current); status != EXIT_OK)
        return status;

    WaitTimeout timeout;
    PortTracker tracker(timeout, [&](PortList& ports) { DiscoverPorts(ports, platform); });
    bool failing = false;  // said once until discovery succeeds again
    for (;;) {
        switch (wait.Wait(timeout.Ms())) {
        case sys::WaitEnd::Stopped: return EXIT_OK;
        case sys::WaitEnd::OutputGone:
            // Nothing written could be read: ended as a write that fails.
            out.setstate(std::ios::badbit);
            return Print(std::string(), EXIT_OK, out, err);
        case sys::WaitEnd::PortsChanged: tracker.DevicesChanged(); continue;
        case sys::WaitEnd::TimedOut: tracker.EndWait(); break;
        }
        std::optional<PortList> fresh;
        try {
            fresh = tracker.Changed(current);
        } catch (const DiscoveryFailure& failure) {
            if (!failing) err << Printable(failure.what()) << std::endl;
            failing = true;
            continue;
        }
        failing = false;
        std::string lines;
        if (fresh) {
            for (const PortChange& change : DiffPorts(current, *fresh))
                lines += json ? FormatChangeJson(change) : FormatChangeText(change);
            current = std::move(*fresh);
        }
        // Nobody reads what cannot be written: the watch would run on for nothing.
        if (const int status = Print(lines, EXIT_OK, out, err); status != EXIT_OK) return status;
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
    const std::unique_ptr<sys::PortEventWait> wait = sys::OpenPortEventWait();
    return FollowPorts(platform, *wait, options->json, out, err);
}

}  // namespace probe
