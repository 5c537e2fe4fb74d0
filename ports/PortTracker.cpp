#include "ports/PortTracker.h"

#include <utility>

namespace {

bool Contains(const PortList& list, const PortEntry& entry) {
    for (std::size_t i = 0; i < list.GetCount(); ++i)
        if (list.GetAt(i) == entry) return true;
    return false;
}

}  // namespace

std::vector<PortChange> DiffPorts(const PortList& before, const PortList& after) {
    std::vector<PortChange> changes;
    for (std::size_t i = 0; i < before.GetCount(); ++i)
        if (!Contains(after, before.GetAt(i))) changes.push_back({false, before.GetAt(i)});
    for (std::size_t i = 0; i < after.GetCount(); ++i)
        if (!Contains(before, after.GetAt(i))) changes.push_back({true, after.GetAt(i)});
    return changes;
}

PortTracker::PortTracker(SettleTimer& timer, Discovery discover)
    : m_timer(timer), m_discover(std::move(discover)) {}

void PortTracker::DevicesChanged() { m_timer.Start(SETTLE_MS); }

void PortTracker::EndWait() { m_timer.Stop(); }

void PortTracker::List(PortList& ports) const { m_discover(ports); }

std::optional<PortList> PortTracker::Changed(const PortList& current) const {
    PortList fresh;
    m_discover(fresh);
    if (fresh == current) return std::nullopt;
    return fresh;
}
