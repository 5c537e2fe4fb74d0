#pragma once
// The discovered serial ports, in discovery order.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

struct PortEntry {
    std::string devicePath;
    std::string portName;
    std::string friendlyName;
    bool isUsb = false;
    std::string description;
};

// Every field alike: what a refresh or a watch treats as the same port.
bool operator==(const PortEntry& a, const PortEntry& b);
inline bool operator!=(const PortEntry& a, const PortEntry& b) { return !(a == b); }

// An index outside the list: a programming error, never a discovery failure.
class PortIndexError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// A discovery failure; what() is the whole message text.
class DiscoveryFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Discovery that could not run and has nothing to tell the dialog's user: the setup API lacks
// an entry point. what() names it, for the command-line tools.
class SilentDiscoveryFailure : public DiscoveryFailure {
public:
    using DiscoveryFailure::DiscoveryFailure;
};

class PortList {
public:
    std::size_t GetCount() const;
    const PortEntry& GetAt(std::size_t index) const;  // throws PortIndexError
    void Clear();
    void Append(const PortEntry& entry);
    void SetAt(std::size_t index, const PortEntry& entry);  // throws PortIndexError
    // The same entries in the same order.
    bool operator==(const PortList& other) const { return m_entries == other.m_entries; }

private:
    std::vector<PortEntry> m_entries;
};
