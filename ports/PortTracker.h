#pragma once
// A port list kept current, for the dialog and the command line alike: listed again once a
// burst of device events has settled, and compared with the list before.

#include <functional>
#include <optional>
#include <vector>

#include "ports/PortList.h"

// A one-shot wait whose end its owner reports with PortTracker::EndWait.
class SettleTimer {
public:
    virtual ~SettleTimer() = default;
    // Starts, or restarts when already running.
    virtual void Start(unsigned ms) = 0;
    virtual void Stop() = 0;
};

struct PortChange {
    bool added = false;  // else removed
    PortEntry entry;
};

// Entries of before missing from after (removed, in before's order), then entries of after
// missing from before (added, in after's order). An entry whose fields changed is both.
std::vector<PortChange> DiffPorts(const PortList& before, const PortList& after);

class PortTracker {
public:
    // How long after the last event of a burst the ports are listed again: devices announce
    // themselves in several steps (USB device, interface, tty), each its own event.
    static constexpr unsigned SETTLE_MS = 250;

    using Discovery = std::function<void(PortList&)>;

    PortTracker(SettleTimer& timer, Discovery discover);

    // One event of a burst: waits for the burst to settle, again from now.
    void DevicesChanged();
    // The wait has elapsed or a listing overtakes it. Stops the timer, which may repeat.
    void EndWait();

    // Discovery into ports; throws DiscoveryFailure, ports holding what was found before it.
    void List(PortList& ports) const;
    // Discovery now: the ports found when they differ from current (an entry or the order),
    // nothing when they are the same. Throws DiscoveryFailure.
    std::optional<PortList> Changed(const PortList& current) const;

private:
    SettleTimer& m_timer;
    Discovery m_discover;
};
