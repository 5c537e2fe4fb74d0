#include "ports/PortList.h"

#include <string>

namespace {

void CheckIndex(std::size_t index, std::size_t count) {
    if (index >= count)
        throw PortIndexError("port index " + std::to_string(index) + " outside a list of " +
                             std::to_string(count));
}

}  // namespace

bool operator==(const PortEntry& a, const PortEntry& b) {
    return a.devicePath == b.devicePath && a.portName == b.portName &&
           a.friendlyName == b.friendlyName && a.isUsb == b.isUsb && a.description == b.description;
}

std::size_t PortList::GetCount() const { return m_entries.size(); }

const PortEntry& PortList::GetAt(std::size_t index) const {
    CheckIndex(index, m_entries.size());
    return m_entries[index];
}

void PortList::Clear() { m_entries.clear(); }

void PortList::Append(const PortEntry& entry) { m_entries.push_back(entry); }

void PortList::SetAt(std::size_t index, const PortEntry& entry) {
    CheckIndex(index, m_entries.size());
    m_entries[index] = entry;
}
