// What the Windows port passes to PurgeComm, SetCommTimeouts and BuildCommDCBA for the neutral
// settings. The mapping needs no windows.h, so it is checked here; Win32SerialPort.cpp checks its
// constants against the real ones at compile time.

#include <gtest/gtest.h>

#include "link/SerialLink.h"
#include "sys/win32/CommSettings.h"

namespace {

using sys::LineSettings;
using sys::Parity;
using sys::StopBits;
namespace win32 = sys::win32;

TEST(Win32CommSettings, TheLinksSettingsGiveTheControllersWin32Calls) {
    EXPECT_EQ(win32::PurgeFlags(sys::DiscardScope::All), 0x0Fu);
    EXPECT_EQ(win32::PurgeFlags(sys::DiscardScope::Input), 0x0Au);

    const auto timeouts = win32::TimeoutsForByteWait(BYTE_WAIT_MS);
    ASSERT_TRUE(timeouts);
    EXPECT_EQ(timeouts->readInterval, 0xFFFFFFFFu);
    EXPECT_EQ(timeouts->readTotalMultiplier, 1u);
    EXPECT_EQ(timeouts->readTotalConstant, 100u);
    EXPECT_EQ(timeouts->writeTotalMultiplier, 1u);
    EXPECT_EQ(timeouts->writeTotalConstant, 100u);

    EXPECT_EQ(win32::DefinitionString(CONTROLLER_LINE_SETTINGS),
              "baud=19200 parity=e data=8 stop=1");
}

TEST(Win32CommSettings, AOneByteReadWaitsExactlyTheByteWait) {
    for (std::uint32_t wait : {1u, 2u, 101u, 5000u, 0xFFFFFFFFu}) {
        const auto timeouts = win32::TimeoutsForByteWait(wait);
        ASSERT_TRUE(timeouts) << wait;
        // Windows: total = multiplier * bytes + constant, here for one byte.
        EXPECT_EQ(std::uint64_t{timeouts->readTotalMultiplier} + timeouts->readTotalConstant, wait);
        EXPECT_EQ(timeouts->readInterval, win32::READ_INTERVAL_NONE) << wait;
    }
    EXPECT_FALSE(win32::TimeoutsForByteWait(0));
}

TEST(Win32CommSettings, DefinitionStringNamesEveryField) {
    const struct {
        LineSettings settings;
        const char* definition;
    } rows[] = {
        {{19200, Parity::Even, 8, StopBits::One}, "baud=19200 parity=e data=8 stop=1"},
        {{300, Parity::Mark, 5, StopBits::OneAndHalf}, "baud=300 parity=m data=5 stop=1.5"},
        {{9600, Parity::None, 8, StopBits::One}, "baud=9600 parity=n data=8 stop=1"},
        {{9600, Parity::Odd, 7, StopBits::One}, "baud=9600 parity=o data=7 stop=1"},
        {{115200, Parity::Space, 6, StopBits::Two}, "baud=115200 parity=s data=6 stop=2"},
        {{12345, Parity::Even, 8, StopBits::Two}, "baud=12345 parity=e data=8 stop=2"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(win32::DefinitionString(row.settings), row.definition) << row.definition;
}

TEST(Win32CommSettings, DefinitionStringRefusesWhatItCannotWrite) {
    const LineSettings invalid[] = {
        {0, Parity::Even, 8, StopBits::One},
        {19200, Parity::Even, 4, StopBits::One},
        {19200, Parity::Even, 9, StopBits::One},
        {19200, static_cast<Parity>(42), 8, StopBits::One},
        {19200, Parity::Even, 8, static_cast<StopBits>(42)},
    };
    for (const LineSettings& settings : invalid)
        EXPECT_FALSE(win32::DefinitionString(settings))
            << settings.baud << " " << settings.dataBits;
}

}  // namespace
