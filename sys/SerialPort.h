#pragma once
// The operating system's serial ports, as the link uses them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace sys {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };

// Speed and character format of the line. 1.5 stop bits go with 5 data bits only.
struct LineSettings {
    std::uint32_t baud = 0;
    Parity parity = Parity::None;
    int dataBits = 8;  // 5 to 8
    StopBits stopBits = StopBits::One;
};

// What a discard drops: what has arrived and not been read, or that and what waits to be sent.
enum class DiscardScope { Input, All };

enum class ReadStatus {
    Byte,   // one byte was read
    Empty,  // the byte wait passed with nothing received
    Failed  // the read call failed (device removed, hang-up, I/O error)
};

// One open serial port, held exclusively. Destroying the object closes the port.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual void Discard(DiscardScope scope) = 0;
    // A one-byte read returns as soon as its byte is there, else empty after this many
    // milliseconds (at least 1). A write of n bytes may take the same wait plus 1 ms for each
    // byte after the first. False when the port refuses it.
    virtual bool SetByteWait(std::uint32_t milliseconds) = 0;
    // False when the settings are invalid or the port does not take them. No flow control.
    virtual bool ApplyLineSettings(const LineSettings& settings) = 0;
    // Writes the bytes and waits until they have left the output buffer.
    virtual bool WriteAndFlush(const std::uint8_t* data, std::size_t count) = 0;
    // Reads at most one byte, waiting no longer than the byte wait.
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
// A source of the platform's real ports of its own, for a thread that opens ports alongside
// others: the shared one keeps the last open error for every caller.
std::unique_ptr<SerialPorts> NewSystemSerialPorts();

}  // namespace sys
