#pragma once
// --trace: every byte a port sends and receives, one frame per line, stamped with the
// milliseconds since the port opened.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sys/SerialPort.h"

namespace probe {

// Where trace lines go. WriteLine is called from every port's thread at once: each line must
// come out whole.
class LineSink {
public:
    virtual ~LineSink() = default;
    // line has no line break of its own.
    virtual void WriteLine(const std::string& line) = 0;
};

// Standard error, one stdio call per line (stdio locks the stream for each call, so lines
// from several threads never mix).
LineSink& StandardErrorLines();

// Opens ports through another source and traces each one it opens.
class TracingSerialPorts final : public sys::SerialPorts {
public:
    // prefix starts every line (the port's name when several run, else empty).
    TracingSerialPorts(sys::SerialPorts& ports, LineSink& sink, std::string prefix);

    sys::OpenResult OpenExclusive(const std::string& path) override;

private:
    sys::SerialPorts& m_ports;
    LineSink& m_sink;
    std::string m_prefix;
};

// The decorator itself: passes every call on and writes what crossed the wire.
class TracingSerialPort final : public sys::SerialPort {
public:
    TracingSerialPort(std::unique_ptr<sys::SerialPort> port, LineSink& sink, std::string prefix);
    ~TracingSerialPort() override;  // a frame still being received is written out
    TracingSerialPort(const TracingSerialPort&) = delete;
    TracingSerialPort& operator=(const TracingSerialPort&) = delete;

    void Discard(sys::DiscardScope scope) override;
    bool SetByteWait(std::uint32_t milliseconds) override;
    bool ApplyLineSettings(const sys::LineSettings& settings) override;
    bool WriteAndFlush(const std::uint8_t* data, std::size_t count) override;
    sys::ReadStatus ReadByte(std::uint8_t& byte) override;
    void ClearError() override;

private:
    long long MillisecondsSinceOpen() const;
    void Line(long long milliseconds, const std::string& text);
    void FlushReceived();

    std::unique_ptr<sys::SerialPort> m_port;
    LineSink& m_sink;
    std::string m_prefix;
    std::chrono::steady_clock::time_point m_opened;
    std::vector<std::uint8_t> m_received;  // the frame being received
    long long m_receivedAt = 0;            // when its first byte came
};

}  // namespace probe
