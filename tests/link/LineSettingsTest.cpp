#include <gtest/gtest.h>

#include "sys/posix/LineSettings.h"

namespace {

using sys::LineSettings;
using sys::ParseLineSettings;
using sys::Parity;
using sys::StopBits;

TEST(LineSettings, ParsesTheControllersSettings)
{
    const auto settings = ParseLineSettings("baud=19200 parity=e data=8 stop=1");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->baud, 19200u);
    EXPECT_EQ(settings->parity, Parity::Even);
    EXPECT_EQ(settings->dataBits, 8);
    EXPECT_EQ(settings->stopBits, StopBits::One);
}

TEST(LineSettings, AcceptsEveryValueInAnyCaseAndOrder)
{
    const auto settings = ParseLineSettings("  STOP=1.5\tData=5 Parity=M baud=300 ");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->baud, 300u);
    EXPECT_EQ(settings->parity, Parity::Mark);
    EXPECT_EQ(settings->dataBits, 5);
    EXPECT_EQ(settings->stopBits, StopBits::OneAndHalf);

    EXPECT_EQ(ParseLineSettings("baud=9600 parity=n")->parity, Parity::None);
    EXPECT_EQ(ParseLineSettings("baud=9600 parity=o")->parity, Parity::Odd);
    EXPECT_EQ(ParseLineSettings("baud=9600 parity=s")->parity, Parity::Space);
    EXPECT_EQ(ParseLineSettings("baud=9600 stop=2")->stopBits, StopBits::Two);
}

TEST(LineSettings, DefaultsAllButTheSpeed)
{
    const auto settings = ParseLineSettings("baud=9600");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->parity, Parity::None);
    EXPECT_EQ(settings->dataBits, 8);
    EXPECT_EQ(settings->stopBits, StopBits::One);
}

TEST(LineSettings, RejectsUnknownKeysAndBadValues)
{
    for (const char* definition : {
             "", "parity=e data=8", "baud=19200 xon=on", "baud=19200 parity=x",
             "baud=19200 data=4", "baud=19200 data=9", "baud=19200 data=88", "baud=19200 stop=3",
             "baud=19200 stop=1.", "baud=0", "baud=-1", "baud=19k2", "baud=", "baud=1234567890",
             "baud 19200", "baud=19200 parity", "=19200", "baud=19200,parity=e"}) {
        EXPECT_FALSE(ParseLineSettings(definition)) << definition;
    }
}

}  // namespace
