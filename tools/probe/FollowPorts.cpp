#include "tools/probe/FollowPorts.h"

#include <filesystem>
#include <memory>

#include "ports/DiscoverPorts.h"
#include "tools/probe/Json.h"
#include "tools/probe/ListPorts.h"
#include "tools/probe/Probe.h"

namespace probe {

namespace {

constexpr char USAGE[] = "usage: marlox-probe --list [--watch] [--json] [--root DIR]\n";

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
    return JsonObject()
               .String("event", change.added ? "added" : "removed")
               .Raw("port", PortJson(change.entry))
               .Text() +
           "\n";
}

int FollowPorts(sys::DiscoveryPlatform& platform, sys::PortEventWait& wait, bool json,
                std::ostream& out, std::ostream& err) {
    PortList current;
    if (const int status = ListPorts(platform, json, out, err, current); status != EXIT_TEST_RAN)
        return status;

    WaitTimeout timeout;
    PortTracker tracker(timeout, [&](PortList& ports) { DiscoverPorts(ports, platform); });
    bool failing = false;  // said once until discovery succeeds again
    for (;;) {
        switch (wait.Wait(timeout.Ms())) {
        case sys::WaitEnd::Stopped: return EXIT_TEST_RAN;
        case sys::WaitEnd::OutputGone:
            // Nothing written could be read: ended as a write that fails.
            out.setstate(std::ios::badbit);
            return Print(std::string(), EXIT_TEST_RAN, out, err);
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
        if (const int status = Print(lines, EXIT_TEST_RAN, out, err); status != EXIT_TEST_RAN)
            return status;
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
    const std::unique_ptr<sys::PortEventWait> wait = sys::OpenPortEventWait();
    return FollowPorts(platform, *wait, json, out, err);
}

}  // namespace probe
