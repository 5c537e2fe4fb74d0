#include "tools/probe/WireTrace.h"

#include <cstdio>

#include "link/HexBytes.h"

namespace probe {
namespace {

class StandardError final : public LineSink {
public:
    void WriteLine(const std::string& line) override {
        const std::string whole = line + '\n';
        std::fwrite(whole.data(), 1, whole.size(), stderr);
    }
};

// A frame is whole once the bytes its length byte counts have followed the command byte; the
// link reads at least command and length byte, so a length byte of 0 or 1 ends it there.
bool WholeFrame(const std::vector<std::uint8_t>& bytes) {
    return bytes.size() >= 2 && bytes.size() >= static_cast<std::size_t>(bytes[1]) + 1;
}

}  // namespace

LineSink& StandardErrorLines() {
    static StandardError sink;
    return sink;
}

TracingSerialPorts::TracingSerialPorts(sys::SerialPorts& ports, LineSink& sink, std::string prefix)
    : m_ports(ports), m_sink(sink), m_prefix(std::move(prefix)) {}

sys::OpenResult TracingSerialPorts::OpenExclusive(const std::string& path) {
    sys::OpenResult result = m_ports.OpenExclusive(path);
    if (result.port)
        result.port = std::make_unique<TracingSerialPort>(std::move(result.port), m_sink, m_prefix);
    return result;
}

TracingSerialPort::TracingSerialPort(std::unique_ptr<sys::SerialPort> port, LineSink& sink,
                                     std::string prefix)
    : m_port(std::move(port)),
      m_sink(sink),
      m_prefix(std::move(prefix)),
      m_opened(std::chrono::steady_clock::now()) {}

TracingSerialPort::~TracingSerialPort() { FlushReceived(); }

void TracingSerialPort::Discard(sys::DiscardScope scope) {
    FlushReceived();
    m_port->Discard(scope);
}

bool TracingSerialPort::SetByteWait(std::uint32_t milliseconds) {
    return m_port->SetByteWait(milliseconds);
}

bool TracingSerialPort::ApplyLineSettings(const sys::LineSettings& settings) {
    return m_port->ApplyLineSettings(settings);
}

bool TracingSerialPort::WriteAndFlush(const std::uint8_t* data, std::size_t count) {
    FlushReceived();
    const long long at = MillisecondsSinceOpen();
    const bool written = m_port->WriteAndFlush(data, count);
    Line(at, "sent " + HexBytes(data, count) + (written ? "" : " (write failed)"));
    return written;
}

sys::ReadStatus TracingSerialPort::ReadByte(std::uint8_t& byte) {
    const sys::ReadStatus status = m_port->ReadByte(byte);
    if (status == sys::ReadStatus::Byte) {
        if (m_received.empty()) m_receivedAt = MillisecondsSinceOpen();
        m_received.push_back(byte);
        if (WholeFrame(m_received)) FlushReceived();
    } else if (status == sys::ReadStatus::Failed) {
        FlushReceived();
        Line(MillisecondsSinceOpen(), "read failed");
    }
    return status;
}

void TracingSerialPort::ClearError() { m_port->ClearError(); }

long long TracingSerialPort::MillisecondsSinceOpen() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 m_opened)
        .count();
}

void TracingSerialPort::Line(long long milliseconds, const std::string& text) {
    m_sink.WriteLine(m_prefix + std::to_string(milliseconds) + " ms " + text);
}

void TracingSerialPort::FlushReceived() {
    if (m_received.empty()) return;
    Line(m_receivedAt, "received " + HexBytes(m_received));
    m_received.clear();
}

}  // namespace probe
