#pragma once
// Serial ports through termios. A one-byte read waits in poll(), never spins.

#include <sys/types.h>
#include <termios.h>

#include <optional>
#include <string>

#include "sys/SerialPort.h"
#include "sys/posix/UniqueFd.h"
#include "sys/posix/UucpLock.h"

namespace sys {

class PosixSerialPort final : public SerialPort {
public:
    // clearExclusive: TIOCEXCL was ours to set, so closing lifts it. original: the line's
    // settings as found, put back at close.
    PosixSerialPort(UniqueFd fd, posix::UucpLock lock, bool clearExclusive,
                    std::optional<termios> original);
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
    std::optional<termios> m_original;
    std::uint32_t m_byteWaitMs = 0;  // not set yet: reads return at once
};

class PosixSerialPorts final : public SerialPorts {
public:
    // lockDir holds the UUCP lock files; procRoot is where other processes' descriptors are
    // listed.
    explicit PosixSerialPorts(std::string lockDir = "/var/lock", std::string procRoot = "/proc");

    // Exclusive: the UUCP lock file, no other process holding the device already (whichever
    // way it opened it), flock(LOCK_EX | LOCK_NB) against other users of flock, and TIOCEXCL
    // against later openers (root excepted). A terminal that stands for another (/dev/tty, a
    // console, the caller's own terminal) is not a serial port.
    OpenResult OpenExclusive(const std::string& path) override;

private:
    OpenFailure BusyFailure(dev_t device, bool exclusiveFlag) const;

    const std::string m_lockDir;
    const std::string m_procRoot;
};

}  // namespace sys
