#pragma once
// The operating system's serial ports, as the link uses them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

// A process holding a port open.
struct PortHolder {
    long pid = 0;
    std::string name;  // the program's name, empty when unknown
};

// Why a port did not open, with the values its text names. Each language words it its own way.
struct OpenFailure {
    enum class Kind {
        None,               // the port opened
        NoDevice,           // nothing at the path
        NotSerialPort,      // not a terminal, or one that stands for another (/dev/tty, a console)
        PermissionDenied,   // group: the device's group when joining it would let the user in
        InUse,              // holders: the processes holding it; empty when none can be seen
        Locked,             // lockOwner, lockFile: a live process's lock file
        LockUnreadable,     // lockFile: something at the lock's path that names no owner yet
        ExclusiveFlagLeft,  // busy through its exclusive flag alone: nobody seen holds it
        ByteWaitRefused,    // the port did not take the byte wait
        SettingsRefused,    // the port did not take the line settings
        System              // systemText: the system's own message
    };
    Kind kind = Kind::None;
    std::string group;
    std::vector<PortHolder> holders;
    long lockOwner = 0;
    std::string lockFile;
    std::string systemText;
};

// The reason in English, as the command-line tools print it: "no such device",
// "in use by picocom (PID 1234)", "locked by PID 1234 (/var/lock/LCK..ttyUSB0)", ...
std::string OpenFailureText(const OpenFailure& failure);
// "picocom (PID 1234), PID 1240": each holder, by PID alone when its name is unknown.
std::string HoldersText(const std::vector<PortHolder>& holders);

struct OpenResult {
    std::unique_ptr<SerialPort> port;  // null when the port did not open
    OpenFailure failure;               // why not
};

// Opens serial ports by path. The system's source keeps no state: one serves every thread.
class SerialPorts {
public:
    virtual ~SerialPorts() = default;

    // Opens the path for exclusive use.
    virtual OpenResult OpenExclusive(const std::string& path) = 0;
};

// The platform's real serial ports.
SerialPorts& SystemSerialPorts();

}  // namespace sys
