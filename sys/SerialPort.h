#pragma once
// The operating system's serial ports, as the link uses them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace sys {

// Purge flags, with the values the Windows API gives them.
constexpr unsigned PURGE_TX_ABORT = 0x01;
constexpr unsigned PURGE_RX_ABORT = 0x02;
constexpr unsigned PURGE_TX_CLEAR = 0x04;
constexpr unsigned PURGE_RX_CLEAR = 0x08;

// Time-outs in milliseconds, in the meaning of the Windows COMMTIMEOUTS record.
struct CommTimeouts {
    std::uint32_t readInterval = 0;
    std::uint32_t readTotalMultiplier = 0;
    std::uint32_t readTotalConstant = 0;
    std::uint32_t writeTotalMultiplier = 0;
    std::uint32_t writeTotalConstant = 0;
};

enum class ReadStatus {
    Byte,   // one byte was read
    Empty,  // the read time-out passed with nothing received
    Failed  // the read call failed (device removed, hang-up, I/O error)
};

// One open serial port, held exclusively. Destroying the object closes the port.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual void Purge(unsigned flags) = 0;
    virtual bool SetTimeouts(const CommTimeouts& timeouts) = 0;
    // Line settings from a definition string such as "baud=19200 parity=e data=8 stop=1".
    virtual bool ApplyLineSettings(const std::string& definition) = 0;
    // Writes the bytes and waits until they have left the output buffer.
    virtual bool WriteAndFlush(const std::uint8_t* data, std::size_t count) = 0;
    // Reads at most one byte, waiting no longer than the read time-outs allow.
    virtual ReadStatus ReadByte(std::uint8_t& byte) = 0;
    virtual void ClearError() = 0;
};

// Opens serial ports by path.
class SerialPorts {
public:
    virtual ~SerialPorts() = default;

    // Opens the path for exclusive use; nullptr when it cannot be opened, with the reason in
    // LastOpenError().
    virtual std::unique_ptr<SerialPort> OpenExclusive(const std::string& path) = 0;
    virtual std::string LastOpenError() const = 0;
};

// The platform's real serial ports.
SerialPorts& SystemSerialPorts();

}  // namespace sys
