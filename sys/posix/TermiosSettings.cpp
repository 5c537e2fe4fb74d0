#include "sys/posix/TermiosSettings.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <optional>

namespace sys {
namespace {

struct SpeedCode {
    std::uint32_t baud;
    speed_t code;
};

constexpr SpeedCode SPEEDS[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

std::optional<speed_t> SpeedCodeOf(std::uint32_t baud) {
    for (const SpeedCode& speed : SPEEDS)
        if (speed.baud == baud) return speed.code;
    return std::nullopt;
}

std::optional<tcflag_t> SizeFlag(int dataBits) {
    switch (dataBits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    case 8: return CS8;
    }
    return std::nullopt;
}

std::optional<tcflag_t> ParityFlags(Parity parity) {
    switch (parity) {
    case Parity::None: return 0;
    case Parity::Even: return PARENB;
    case Parity::Odd: return PARENB | PARODD;
    case Parity::Mark: return PARENB | CMSPAR | PARODD;
    case Parity::Space: return PARENB | CMSPAR;
    }
    return std::nullopt;
}

std::optional<tcflag_t> StopFlag(StopBits stopBits, int dataBits) {
    switch (stopBits) {
    case StopBits::One: return 0;
    case StopBits::Two: return CSTOPB;
    case StopBits::OneAndHalf:
        // Only with 5 data bits, where the UART gives 1.5 stop bits for CSTOPB.
        if (dataBits == 5) return CSTOPB;
        break;
    }
    return std::nullopt;
}

// The control bits the line settings decide, and those a pseudo-terminal does not keep.
constexpr tcflag_t FORMAT_BITS = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
constexpr tcflag_t PTY_DROPPED_BITS = CSIZE | PARENB | PARODD | CMSPAR;

// Unix98 pty slaves (/dev/pts/N) use majors 136-143; legacy BSD pty slaves use major 3.
constexpr unsigned PTS_FIRST_MAJOR = 136;
constexpr unsigned PTS_LAST_MAJOR = 143;
constexpr unsigned BSD_PTY_SLAVE_MAJOR = 3;

}  // namespace

bool MakeRawTermios(const LineSettings& settings, termios& terminal) {
    const std::optional<speed_t> speed = SpeedCodeOf(settings.baud);
    const std::optional<tcflag_t> size = SizeFlag(settings.dataBits);
    const std::optional<tcflag_t> parity = ParityFlags(settings.parity);
    const std::optional<tcflag_t> stop = StopFlag(settings.stopBits, settings.dataBits);
    if (!speed || !size || !parity || !stop) return false;

    termios wanted = terminal;
    ::cfmakeraw(&wanted);
    wanted.c_iflag &= ~(IXOFF | IXANY | INPCK | IGNPAR);
    wanted.c_cflag &= ~FORMAT_BITS;
    wanted.c_cflag |= CLOCAL | CREAD | *size | *parity | *stop;
    wanted.c_cc[VMIN] = 0;  // poll() does the waiting
    wanted.c_cc[VTIME] = 0;
    if (::cfsetispeed(&wanted, *speed) != 0 || ::cfsetospeed(&wanted, *speed) != 0) return false;
    terminal = wanted;
    return true;
}

bool ApplyTermiosSettings(int fd, const LineSettings& settings, bool pseudoTerminal) {
    termios wanted{};
    if (::tcgetattr(fd, &wanted) != 0 || !MakeRawTermios(settings, wanted)) return false;
    const speed_t speed = ::cfgetospeed(&wanted);
    // tcsetattr succeeds when any part of the request was taken, and fails with EINVAL when
    // none was (a pty asked again for the parity it dropped): the read-back below decides.
    if (::tcsetattr(fd, TCSANOW, &wanted) != 0 && errno != EINVAL) return false;

    termios actual{};
    if (::tcgetattr(fd, &actual) != 0) return false;
    const tcflag_t ignored = pseudoTerminal ? PTY_DROPPED_BITS : 0;
    const tcflag_t checked = (FORMAT_BITS | CLOCAL | CREAD) & ~ignored;
    return ::cfgetispeed(&actual) == speed && ::cfgetospeed(&actual) == speed &&
           (actual.c_cflag & checked) == (wanted.c_cflag & checked) &&
           actual.c_iflag == wanted.c_iflag && actual.c_oflag == wanted.c_oflag &&
           actual.c_lflag == wanted.c_lflag && actual.c_cc[VMIN] == 0 && actual.c_cc[VTIME] == 0;
}

bool IsPseudoTerminal(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode)) return false;
    const unsigned deviceMajor = major(status.st_rdev);
    return (deviceMajor >= PTS_FIRST_MAJOR && deviceMajor <= PTS_LAST_MAJOR) ||
           deviceMajor == BSD_PTY_SLAVE_MAJOR;
}

}  // namespace sys
