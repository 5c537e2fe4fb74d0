#pragma once
// Serial ports through termios. A one-byte read waits in poll(), never spins.

#include <string>

#include "sys/SerialPort.h"
#include "sys/posix/UniqueFd.h"

namespace sys {

class PosixSerialPort final : public SerialPort {
public:
    explicit PosixSerialPort(UniqueFd fd);
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    void Discard(DiscardScope scope) override;
    bool SetByteWait(std::uint32_t milliseconds) override;
    bool ApplyLineSettings(const LineSettings& settings) override;
    bool WriteAndFlush(const std::uint8_t* data, std::size_t count) override;
    ReadStatus ReadByte(std::uint8_t& byte) override;
    void ClearError() override;

private:
    UniqueFd m_fd;
    std::uint32_t m_byteWaitMs = 0;  // not set yet: reads return at once
};

class PosixSerialPorts final : public SerialPorts {
public:
    // Exclusive: flock(LOCK_EX | LOCK_NB) against other users of the lock, TIOCEXCL against
    // everyone else (root excepted).
    std::unique_ptr<SerialPort> OpenExclusive(const std::string& path) override;
    std::string LastOpenError() const override;

private:
    std::string m_lastOpenError;
};

}  // namespace sys
