#include "ui/PortRefresh.h"

#include <utility>

PortRefresh::PortRefresh(PortList& ports, PortListView& view, SettleTimer& timer,
                         Discovery discover)
    : m_ports(ports), m_view(view), m_tracker(timer, std::move(discover)) {}

void PortRefresh::Fill(const FailureReport& report) {
    PortList found;
    try {
        m_tracker.List(found);
    } catch (const SilentDiscoveryFailure&) {
        // Nothing to tell: the list stays empty.
    } catch (const DiscoveryFailure& failure) {
        report(failure.what());
    }
    Show(found, 0);  // 0 also in an empty list, where it selects nothing
    m_filled = true;
    if (m_pending) m_tracker.DevicesChanged();
}

void PortRefresh::DevicesChanged() { m_tracker.DevicesChanged(); }

void PortRefresh::TimerElapsed() {
    m_tracker.EndWait();
    Request();
}

void PortRefresh::ListOpening() {
    // An event's wait is overtaken: the list is fetched now.
    m_tracker.EndWait();
    Request();
}

void PortRefresh::TestStarted() { m_testRunning = true; }

void PortRefresh::TestEnded() {
    m_testRunning = false;
    if (m_pending) m_tracker.DevicesChanged();
}

void PortRefresh::Request() {
    if (!m_filled || m_testRunning) {
        m_pending = true;
        return;
    }
    m_pending = false;
    RefreshNow();
}

bool PortRefresh::RefreshNow() {
    std::optional<PortList> fresh;
    try {
        fresh = m_tracker.Changed(m_ports);
    } catch (const DiscoveryFailure&) {
        // A plug-in must never bring a message box: the list found before stays.
        return false;
    }
    if (!fresh) return false;

    const int selected = m_view.Selection();
    const std::string selectedPath =
        selected >= 0 && static_cast<std::size_t>(selected) < m_ports.GetCount()
            ? m_ports.GetAt(static_cast<std::size_t>(selected)).devicePath
            : std::string();

    // The same port stays selected wherever it moved; otherwise the first entry is.
    int selection = -1;
    for (std::size_t i = 0; i < fresh->GetCount() && selection < 0; ++i)
        if (!selectedPath.empty() && fresh->GetAt(i).devicePath == selectedPath)
            selection = static_cast<int>(i);
    if (selection < 0 && fresh->GetCount() > 0) selection = 0;
    Show(*fresh, selection);
    return true;
}

void PortRefresh::Show(const PortList& ports, int selection) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < ports.GetCount(); ++i)
        names.push_back(ports.GetAt(i).friendlyName);
    m_ports = ports;
    m_view.Refill(names, selection);
}
