// The line settings record in termios terms, without a terminal: each field to its bits.

#include <gtest/gtest.h>

#include <termios.h>

#include "sys/posix/TermiosSettings.h"

namespace {

using sys::LineSettings;
using sys::MakeRawTermios;
using sys::Parity;
using sys::StopBits;

constexpr tcflag_t FORMAT_BITS = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;

// A terminal as a shell leaves it, with every format and flow-control bit set, so that the
// mapping must clear what the record does not ask for.
termios Cooked() {
    termios terminal{};
    terminal.c_iflag = ICRNL | IXON | IXOFF | IXANY | INPCK | IGNPAR | ISTRIP;
    terminal.c_oflag = OPOST | ONLCR;
    terminal.c_lflag = ICANON | ECHO | ECHOE | ISIG | IEXTEN;
    terminal.c_cflag = FORMAT_BITS | CRTSCTS | HUPCL;
    terminal.c_cc[VMIN] = 1;
    terminal.c_cc[VTIME] = 5;
    cfsetispeed(&terminal, B9600);
    cfsetospeed(&terminal, B9600);
    return terminal;
}

TEST(TermiosSettings, EachFieldSetsItsBits) {
    const struct {
        LineSettings settings;
        speed_t speed;
        tcflag_t format;  // the FORMAT_BITS expected
    } rows[] = {
        // The controller's line.
        {{19200, Parity::Even, 8, StopBits::One}, B19200, CS8 | PARENB},
        {{9600, Parity::None, 8, StopBits::One}, B9600, CS8},
        {{9600, Parity::Odd, 7, StopBits::One}, B9600, CS7 | PARENB | PARODD},
        {{300, Parity::Mark, 5, StopBits::OneAndHalf},
         B300,
         CS5 | PARENB | PARODD | CMSPAR | CSTOPB},
        {{115200, Parity::Space, 6, StopBits::Two}, B115200, CS6 | PARENB | CMSPAR | CSTOPB},
        {{4000000, Parity::None, 5, StopBits::Two}, B4000000, CS5 | CSTOPB},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.settings.baud);
        termios terminal = Cooked();
        ASSERT_TRUE(MakeRawTermios(row.settings, terminal));
        EXPECT_EQ(cfgetispeed(&terminal), row.speed);
        EXPECT_EQ(cfgetospeed(&terminal), row.speed);
        EXPECT_EQ(terminal.c_cflag & FORMAT_BITS, row.format);
        // Raw, no flow control of either kind, the modem lines ignored, reads never block.
        EXPECT_EQ(terminal.c_cflag & (CLOCAL | CREAD), CLOCAL | CREAD);
        EXPECT_EQ(terminal.c_cflag & CRTSCTS, 0u);
        EXPECT_EQ(terminal.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INPCK | IGNPAR | ISTRIP), 0u);
        EXPECT_EQ(terminal.c_oflag & OPOST, 0u);
        EXPECT_EQ(terminal.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
        EXPECT_EQ(terminal.c_cc[VMIN], 0);
        EXPECT_EQ(terminal.c_cc[VTIME], 0);
    }
}

TEST(TermiosSettings, RecordDefaultsToEightNoneOne) {
    LineSettings settings;
    settings.baud = 9600;
    termios terminal = Cooked();
    ASSERT_TRUE(MakeRawTermios(settings, terminal));
    EXPECT_EQ(terminal.c_cflag & FORMAT_BITS, CS8);
}

TEST(TermiosSettings, RejectsWhatTermiosCannotExpressAndLeavesTheTerminalAlone) {
    const LineSettings invalid[] = {
        {0, Parity::Even, 8, StopBits::One},
        {12345, Parity::Even, 8, StopBits::One},  // no such termios speed
        {19200, Parity::Even, 4, StopBits::One},
        {19200, Parity::Even, 9, StopBits::One},
        {19200, Parity::Even, 8, StopBits::OneAndHalf},  // 1.5 only with 5 data bits
        {19200, static_cast<Parity>(42), 8, StopBits::One},
        {19200, Parity::Even, 8, static_cast<StopBits>(42)},
    };
    for (const LineSettings& settings : invalid) {
        termios terminal = Cooked();
        EXPECT_FALSE(MakeRawTermios(settings, terminal))
            << settings.baud << " " << settings.dataBits;
        const termios untouched = Cooked();
        EXPECT_EQ(terminal.c_cflag, untouched.c_cflag);
        EXPECT_EQ(terminal.c_lflag, untouched.c_lflag);
        EXPECT_EQ(cfgetospeed(&terminal), B9600);
    }
}

}  // namespace
