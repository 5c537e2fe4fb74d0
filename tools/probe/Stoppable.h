#pragma once
// Ending a test early when a stop signal has been caught. Every wait of the link is bounded (one
// byte wait per read), so a port that stops talking ends its test within one byte wait, and
// the link then closes it the usual way: exclusive flag cleared, lock file removed.

#include <memory>
#include <string>

#include "sys/SerialPort.h"

namespace probe {

// The status of a run a stop signal ended: 128 plus the signal's number, as a shell reports a
// program the signal killed (130 for SIGINT, 141 for a lost pipe).
constexpr int EXIT_STOPPED = 128;

// Opens ports through another source; once a stop signal has been caught they write nothing
// more and every read fails at once.
class StoppablePorts final : public sys::SerialPorts {
public:
    explicit StoppablePorts(sys::SerialPorts& ports) : m_ports(ports) {}

    sys::OpenResult OpenExclusive(const std::string& path) override;

private:
    sys::SerialPorts& m_ports;
};

}  // namespace probe
