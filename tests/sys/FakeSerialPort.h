#pragma once
// A serial port that plays a script instead of waiting on a line. Each request written makes the
// next scripted reply arrive; a discard (of the input or of all) drops whatever has arrived and
// not been read. A read with nothing left is an empty read, with no real waiting. Shared by the
// unit tests and the fuzzers, so it needs nothing but the port interface.

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sys/SerialPort.h"

namespace fake {

// What one read gives.
struct Step {
    sys::ReadStatus status;
    std::uint8_t byte;
};

inline Step Empty() { return {sys::ReadStatus::Empty, 0}; }
inline Step Fail() { return {sys::ReadStatus::Failed, 0}; }
std::vector<Step> Bytes(const std::vector<std::uint8_t>& bytes);
// command, length byte, data, correct checksum.
std::vector<Step> Frame(std::uint8_t command, const std::string& data);
std::vector<Step> Concat(std::vector<std::vector<Step>> parts);

// One call on the line, as the port saw it.
struct Call {
    enum class Kind { DiscardAll, DiscardInput, Write, Read, ClearError } kind;
    std::vector<std::uint8_t> written{};  // Write: the request
    Step read{};                          // Read: what it gave
};

// What the test sets up and what the port recorded; shared with the ports it hands out.
struct PortState {
    std::deque<std::vector<Step>> repliesToWrites;  // one per request, in order
    std::deque<Step> arrived;                       // on the line, not yet read

    std::vector<Call> calls;  // every call on the line, in order
    int openPorts = 0;
    std::uint32_t byteWaitMs = 0;  // 0: never set
    std::optional<sys::LineSettings> lineSettings;

    bool failByteWait = false;
    bool failLineSettings = false;

    // The calls as text: "discard all", "discard input", "write F3 02 0A", "read", "clear".
    std::vector<std::string> Events() const;
    std::vector<std::vector<std::uint8_t>> Writes() const;
    int Count(Call::Kind kind) const;
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
