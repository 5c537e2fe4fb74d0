#include "tools/probe/Stoppable.h"

#include "sys/StopSignals.h"

namespace probe {
namespace {

class StoppablePort final : public sys::SerialPort {
public:
    explicit StoppablePort(std::unique_ptr<sys::SerialPort> port) : m_port(std::move(port)) {}

    void Discard(sys::DiscardScope scope) override { m_port->Discard(scope); }
    bool SetByteWait(std::uint32_t milliseconds) override {
        return m_port->SetByteWait(milliseconds);
    }
    bool ApplyLineSettings(const sys::LineSettings& settings) override {
        return m_port->ApplyLineSettings(settings);
    }
    bool WriteAndFlush(const std::uint8_t* data, std::size_t count) override {
        return !Stopped() && m_port->WriteAndFlush(data, count);
    }
    sys::ReadStatus ReadByte(std::uint8_t& byte) override {
        return Stopped() ? sys::ReadStatus::Failed : m_port->ReadByte(byte);
    }
    void ClearError() override { m_port->ClearError(); }

private:
    static bool Stopped() { return sys::CaughtStopSignal() != 0; }

    std::unique_ptr<sys::SerialPort> m_port;
};

}  // namespace

sys::OpenResult StoppablePorts::OpenExclusive(const std::string& path) {
    sys::OpenResult result = m_ports.OpenExclusive(path);
    if (result.port) result.port = std::make_unique<StoppablePort>(std::move(result.port));
    return result;
}

}  // namespace probe
