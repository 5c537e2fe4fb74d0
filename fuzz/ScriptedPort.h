#pragma once
// A serial port that plays the fuzz input. Byte 0xFE escapes:
//   FE 00  an empty read (the read time-out passed)
//   FE 01  a failed read
//   FE 02  the end of what arrives for this request; the rest arrives after the next write
//   FE xx  the byte xx (so FE FE is FE)
// Each write makes the next part arrive; a discard (of the input or of all) drops what has
// arrived and not been read, empty reads and failures included. Once the input is used up every
// read is empty.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "sys/SerialPort.h"

namespace fuzz {

constexpr std::uint8_t ESCAPE = 0xFE;
constexpr std::uint8_t ESC_EMPTY = 0x00;
constexpr std::uint8_t ESC_FAIL = 0x01;
constexpr std::uint8_t ESC_END_OF_PART = 0x02;

struct Read {
    sys::ReadStatus status;
    std::uint8_t byte;
};

// What one exchange saw: its request and every read it made, in order.
struct ExchangeRecord {
    std::vector<std::uint8_t> request;
    std::vector<Read> reads;
    bool discardedBeforeWrite = false;
    int clearErrors = 0;
};

struct LineState {
    std::deque<std::vector<Read>> parts;  // one per write, in order
    std::deque<Read> arrived;
    std::vector<ExchangeRecord> exchanges;
    bool discardedSinceWrite = false;
    int openPorts = 0;
};

// Splits the input into the parts that arrive after each write.
std::deque<std::vector<Read>> ParseScript(const std::uint8_t* data, std::size_t size);

class ScriptedPort final : public sys::SerialPort {
public:
    explicit ScriptedPort(std::shared_ptr<LineState> line);
    ~ScriptedPort() override;

    void Discard(sys::DiscardScope scope) override;
    bool SetByteWait(std::uint32_t) override { return true; }
    bool ApplyLineSettings(const sys::LineSettings&) override { return true; }
    bool WriteAndFlush(const std::uint8_t* data, std::size_t count) override;
    sys::ReadStatus ReadByte(std::uint8_t& byte) override;
    void ClearError() override;

private:
    std::shared_ptr<LineState> m_line;
};

class ScriptedPorts final : public sys::SerialPorts {
public:
    explicit ScriptedPorts(std::shared_ptr<LineState> line) : m_line(std::move(line)) {}
    sys::OpenResult OpenExclusive(const std::string&) override {
        return {std::make_unique<ScriptedPort>(m_line), {}};
    }

private:
    std::shared_ptr<LineState> m_line;
};

}  // namespace fuzz
