#include "ui/PortRefresh.h"

#include <utility>

PortRefresh::PortRefresh(PortList& ports, PortListView& view, SettleTimer& timer,
                         Discovery discover)
    : m_ports(ports), m_view(view), m_timer(timer), m_discover(std::move(discover)) {}

void PortRefresh::DevicesChanged() { m_timer.Start(SETTLE_MS); }

void PortRefresh::TimerElapsed() {
    m_timer.Stop();
    Request();
}

void PortRefresh::ListOpening() {
    // An event's wait is overtaken: the list is fetched now.
    m_timer.Stop();
    Request();
}

void PortRefresh::TestStarted() { m_testRunning = true; }

void PortRefresh::TestEnded() {
    m_testRunning = false;
    if (m_pending) m_timer.Start(SETTLE_MS);
}

void PortRefresh::Request() {
    if (m_testRunning) {
        m_pending = true;
        return;
    }
    m_pending = false;
    RefreshNow();
}

bool PortRefresh::RefreshNow() {
    PortList fresh;
    try {
        m_discover(fresh);
    } catch (const DiscoveryFailure&) {
        // A plug-in must never bring a message box: the list found before stays.
        return false;
    }
    if (fresh == m_ports) return false;

    const int selected = m_view.Selection();
    const std::string selectedPath =
        selected >= 0 && static_cast<std::size_t>(selected) < m_ports.GetCount()
            ? m_ports.GetAt(static_cast<std::size_t>(selected)).devicePath
            : std::string();

    // The same port stays selected wherever it moved; otherwise the first entry is.
    std::vector<std::string> names;
    int selection = -1;
    for (std::size_t i = 0; i < fresh.GetCount(); ++i) {
        const PortEntry& entry = fresh.GetAt(i);
        names.push_back(entry.friendlyName);
        if (selection < 0 && !selectedPath.empty() && entry.devicePath == selectedPath)
            selection = static_cast<int>(i);
    }
    if (selection < 0 && !names.empty()) selection = 0;
    m_ports = fresh;
    m_view.Refill(names, selection);
    return true;
}
