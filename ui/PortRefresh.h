#pragma once
// Keeps the dialog's port list current while it is open. A burst of device events gives one
// discovery once the burst has settled; the drop-down and the port list are refilled together,
// so a position in the drop-down stays an index into the list. Nothing moves while a test runs
// (it pumps messages; the refresh waits for its end), when discovery fails (the old list stays,
// nothing is shown) or when the ports are the same as before.

#include <functional>
#include <string>
#include <vector>

#include "ports/PortList.h"

// The drop-down as the refresh sees it.
class PortListView {
public:
    virtual ~PortListView() = default;
    // The selected position; negative for none.
    virtual int Selection() = 0;
    // Replaces every entry with names, then selects `selection` (negative: none).
    virtual void Refill(const std::vector<std::string>& names, int selection) = 0;
};

// A one-shot wait whose end the owner reports with PortRefresh::TimerElapsed.
class SettleTimer {
public:
    virtual ~SettleTimer() = default;
    // Starts, or restarts when already running.
    virtual void Start(unsigned ms) = 0;
    virtual void Stop() = 0;
};

class PortRefresh {
public:
    // How long after the last event of a burst the ports are listed again: devices announce
    // themselves in several steps (USB device, interface, tty), each its own event.
    static constexpr unsigned SETTLE_MS = 250;

    using Discovery = std::function<void(PortList&)>;

    // Refreshes ports (which the drop-down shows) with discover, the dialog's own discovery.
    PortRefresh(PortList& ports, PortListView& view, SettleTimer& timer, Discovery discover);

    // One event of a burst: waits for the burst to settle.
    void DevicesChanged();
    // The wait has ended.
    void TimerElapsed();
    // The user is opening the list: lists again at once, for systems that tell of no events.
    void ListOpening();
    void TestStarted();
    // A refresh asked for during the test follows shortly.
    void TestEnded();

    // Discovery now. The list and the drop-down change only when the ports did: true then.
    bool RefreshNow();

private:
    void Request();

    PortList& m_ports;
    PortListView& m_view;
    SettleTimer& m_timer;
    Discovery m_discover;
    bool m_testRunning = false;
    bool m_pending = false;
};
