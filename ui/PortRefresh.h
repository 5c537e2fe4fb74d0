#pragma once
// Fills the dialog's port list at start-up and keeps it current while the dialog is open. A
// burst of device events gives one discovery once the burst has settled; the drop-down and the
// port list are filled together, always here, so a position in the drop-down stays an index
// into the list. Nothing moves before the start-up fill is done or while a test runs (both let
// messages through; the refresh waits for their end), when discovery fails (the old list stays,
// nothing is shown) or when the ports are the same as before.

#include <functional>
#include <string>
#include <vector>

#include "ports/PortTracker.h"

// The drop-down as the refresh sees it.
class PortListView {
public:
    virtual ~PortListView() = default;
    // The selected position; negative for none.
    virtual int Selection() = 0;
    // Replaces every entry with names, each at its own position, then selects `selection`
    // (negative: none).
    virtual void Refill(const std::vector<std::string>& names, int selection) = 0;
};

class PortRefresh {
public:
    using Discovery = PortTracker::Discovery;
    // Shows a discovery failure's text to the user.
    using FailureReport = std::function<void(const std::string& text)>;

    // Fills ports (which the drop-down shows) with discover, the dialog's own discovery. The
    // owner reports the timer's end with TimerElapsed.
    PortRefresh(PortList& ports, PortListView& view, SettleTimer& timer, Discovery discover);

    // The start-up fill: the ports found, the first selected. A failure is reported before the
    // entries found ahead of it are listed, unless it has nothing to tell (a silent failure).
    // Refreshes asked for until now follow shortly.
    void Fill(const FailureReport& report);

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
    void Show(const PortList& ports, int selection);

    PortList& m_ports;
    PortListView& m_view;
    PortTracker m_tracker;
    bool m_filled = false;
    bool m_testRunning = false;
    bool m_pending = false;
};
