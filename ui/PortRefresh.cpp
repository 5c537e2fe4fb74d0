#include "ui/PortRefresh.h"

#include <utility>

PortRefresh::PortRefresh(PortList& ports, PortListView& view, SettleTimer& timer,
                         Discovery discover)
    : m_ports(ports), m_view(view), m_timer(timer), m_discover(std::move(discover)) {}

void PortRefresh::Fill(const FailureReport& report) {
    PortList found;
    try {
        m_discover(found);
    } catch (const SilentDiscoveryFailure&) {
        // Nothing to tell: the list stays empty.
    } catch (const DiscoveryFailure& failure) {
        report(failure.what());
    }
    Show(found, 0);  // 0 also in an empty list, where it selects nothing
    m_filled = true;
    if (m_pending) m_timer.Start(SETTLE_MS);
}

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
    if (!m_filled || m_testRunning) {
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
    int selection = -1;
    for (std::size_t i = 0; i < fresh.GetCount() && selection < 0; ++i)
        if (!selectedPath.empty() && fresh.GetAt(i).devicePath == selectedPath)
            selection = static_cast<int>(i);
    if (selection < 0 && fresh.GetCount() > 0) selection = 0;
    Show(fresh, selection);
    return true;
}

void PortRefresh::Show(const PortList& ports, int selection) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < ports.GetCount(); ++i)
        names.push_back(ports.GetAt(i).friendlyName);
    m_ports = ports;
    m_view.Refill(names, selection);
}
