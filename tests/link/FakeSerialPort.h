#pragma once
// A serial port that plays a script instead of waiting on a line. Each request written makes the
// next scripted reply arrive; a discard (of the input or of all) drops whatever has arrived and
// not been read. A read with nothing left is an empty read, with no real waiting.

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sys/SerialPort.h"

namespace fake {

struct Step {
    enum class Kind { Byte, Empty, Fail } kind;
    std::uint8_t byte;
};

inline Step Empty() { return {Step::Kind::Empty, 0}; }
inline Step Fail() { return {Step::Kind::Fail, 0}; }
std::vector<Step> Bytes(const std::vector<std::uint8_t>& bytes);
// command, length byte, data, correct checksum.
std::vector<Step> Frame(std::uint8_t command, const std::string& data);
std::vector<Step> Concat(std::vector<std::vector<Step>> parts);

// What the test sets up and what the port recorded; shared with the ports it hands out.
struct PortState {
    std::deque<std::vector<Step>> repliesToWrites;  // one per request, in order
    std::deque<Step> arrived;                       // on the line, not yet read

    std::vector<std::string> events;  // "discard all", "write F3 02 0A", "read", "clear"
    std::vector<std::vector<std::uint8_t>> writes;
    int reads = 0;
    int clearErrors = 0;
    int openPorts = 0;
    std::uint32_t byteWaitMs = 0;  // 0: never set
    std::optional<sys::LineSettings> lineSettings;

    bool failByteWait = false;
    bool failLineSettings = false;
};

class FakeSerialPort final : public sys::SerialPort {
public:
    explicit FakeSerialPort(std::shared_ptr<PortState> state);
    ~FakeSerialPort() override;

    void Discard(sys::DiscardScope scope) override;
    bool SetByteWait(std::uint32_t milliseconds) override;
    bool ApplyLineSettings(const sys::LineSettings& settings) override;
    bool WriteAndFlush(const std::uint8_t* data, std::size_t count) override;
    sys::ReadStatus ReadByte(std::uint8_t& byte) override;
    void ClearError() override;

private:
    std::shared_ptr<PortState> m_state;
};

class FakeSerialPorts final : public sys::SerialPorts {
public:
    std::shared_ptr<PortState> state = std::make_shared<PortState>();
    std::vector<std::string> openedPaths;
    bool failOpen = false;

    // A failed open gives the system's "Access is denied.".
    sys::OpenResult OpenExclusive(const std::string& path) override;
};

}  // namespace fake
