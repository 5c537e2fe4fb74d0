#pragma once
// Serial ports through termios. A one-byte read waits in poll(), never spins.

#include <sys/types.h>

#include <string>

#include "sys/SerialPort.h"
#include "sys/posix/UniqueFd.h"
#include "sys/posix/UucpLock.h"

namespace sys {

class PosixSerialPort final : public SerialPort {
public:
    // clearExclusive: TIOCEXCL was ours to set, so closing lifts it.
    PosixSerialPort(UniqueFd fd, posix::UucpLock lock, bool clearExclusive);
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
    posix::UucpLock m_lock;  // declared first: released after the descriptor is closed
    UniqueFd m_fd;
    bool m_clearExclusive;
    std::uint32_t m_byteWaitMs = 0;  // not set yet: reads return at once
};

class PosixSerialPorts final : public SerialPorts {
public:
    // lockDir holds the UUCP lock files; procRoot is where other processes' descriptors are
    // listed.
    explicit PosixSerialPorts(std::string lockDir = "/var/lock", std::string procRoot = "/proc");

    // Exclusive: the UUCP lock file, flock(LOCK_EX | LOCK_NB) against other users of flock,
    // TIOCEXCL against later openers (root excepted), and no other process may already hold
    // the device, whichever way it opened it.
    std::unique_ptr<SerialPort> OpenExclusive(const std::string& path) override;
    // "in use by picocom (PID 1234)", "locked by PID 1234 (/var/lock/LCK..ttyUSB0)",
    // "permission denied: ...", "no such device", ...
    std::string LastOpenError() const override;

private:
    std::string BusyReason(dev_t device) const;

    std::string m_lockDir;
    std::string m_procRoot;
    std::string m_lastOpenError;
};

}  // namespace sys
