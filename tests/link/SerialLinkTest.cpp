#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "link/ConnectionTest.h"
#include "link/SerialLink.h"
#include "tests/sys/FakeSerialPort.h"

namespace {

using fake::Bytes;
using fake::Concat;
using fake::Empty;
using fake::Frame;

class SerialLinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.Open("COM3")); }

    // The reply the controller gives to the next request.
    void Reply(std::vector<fake::Step> steps) {
        state().repliesToWrites.push_back(std::move(steps));
    }
    fake::PortState& state() { return *ports.state; }

    std::int32_t Ask(std::uint8_t command = CMD_ENGINECODE) {
        return link.Exchange(command, 2, area.data(), area.size());
    }

    fake::FakeSerialPorts ports;
    CSerialLink link{ports};
    std::array<std::uint8_t, 16> area = MarkedArea();

    static std::array<std::uint8_t, 16> MarkedArea() {
        std::array<std::uint8_t, 16> marked;
        marked.fill(0xEE);
        return marked;
    }
};

TEST_F(SerialLinkTest, WritesTheThreeByteRequestOfEveryInquiry) {
    const std::vector<std::vector<std::uint8_t>> expected = {{0xF3, 0x02, 0x0A},
                                                             {0xF5, 0x02, 0x08},
                                                             {0xAD, 0x02, 0x50},
                                                             {0x6B, 0x02, 0x92},
                                                             {0x6C, 0x02, 0x91}};
    for (const auto& request : expected)
        Ask(request[0]);
    EXPECT_EQ(state().Writes(), expected);
}

TEST_F(SerialLinkTest, RequestCarriesItsDataAndComplementChecksum) {
    const std::uint8_t data[] = {0x10, 0x20};
    std::uint8_t buffer[2] = {data[0], data[1]};
    link.Exchange(0x01, 4, buffer, sizeof buffer);
    // 01 + 04 + 10 + 20 = 0x35; complement 0xCA.
    EXPECT_EQ(state().Writes().at(0), (std::vector<std::uint8_t>{0x01, 0x04, 0x10, 0x20, 0xCA}));
}

TEST_F(SerialLinkTest, RequestNeverReadsPastTheCallersArea) {
    std::uint8_t one[1] = {0x7F};
    link.Exchange(0x01, 5, one, sizeof one);  // N - 2 = 3 data bytes, only one given
    EXPECT_EQ(state().Writes().at(0),
              (std::vector<std::uint8_t>{0x01, 0x05, 0x7F, 0x00, 0x00, 0x7A}));
}

TEST_F(SerialLinkTest, CopiesReplyDataToTheStartOfTheAreaAndReturnsTheLengthByte) {
    Reply(Frame(0xF3, "ABCDEFGH"));
    EXPECT_EQ(Ask(), 10);
    EXPECT_EQ(std::string(area.begin(), area.begin() + 8), "ABCDEFGH");
    EXPECT_TRUE(std::all_of(area.begin() + 8, area.end(), [](auto b) { return b == 0xEE; }));
}

TEST_F(SerialLinkTest, ShortLengthBytesEndTheReplyAfterTwoBytesAndCopyNothing) {
    Reply(Bytes({0xFF, 0x00}));        // sum of byte 0 alone is FF
    Reply(Bytes({0xFE, 0x01}));        // FE + 01 = FF
    Reply(Bytes({0xF3, 0x02, 0x0A}));  // no data
    Reply(Bytes({0xF3, 0x00}));        // F3 alone is not FF
    EXPECT_EQ(Ask(), 0);
    EXPECT_EQ(Ask(), 1);
    EXPECT_EQ(Ask(), 2);
    EXPECT_EQ(Ask(), EXCHANGE_BAD_CHECKSUM);
    EXPECT_EQ(area, MarkedArea());
    // Each reply was read to its last byte and no further.
    EXPECT_EQ(state().Count(fake::Call::Kind::Read), 2 + 2 + 3 + 2);
}

TEST_F(SerialLinkTest, ChecksumOffByOneIsRejectedAndLeavesTheAreaAlone) {
    auto reply = Frame(0xF3, "ABCDEFGH");
    reply.back().byte = static_cast<std::uint8_t>(reply.back().byte + 1);
    Reply(reply);
    EXPECT_EQ(Ask(), EXCHANGE_BAD_CHECKSUM);
    EXPECT_EQ(area, MarkedArea());
}

TEST_F(SerialLinkTest, AcceptsAReplyWithAnotherCommandByte) {
    Reply(Frame(0x42, "OK"));
    EXPECT_EQ(Ask(CMD_ENGINECODE), 4);
    EXPECT_EQ(area[0], 'O');
    EXPECT_EQ(area[1], 'K');
}

TEST_F(SerialLinkTest, EmptyReadBudgetCoversTheWholeReply) {
    const auto frame = Frame(0xF3, "AB");  // F3 04 41 42 cs
    auto spread = [&](int empties) {
        std::vector<fake::Step> steps;
        for (std::size_t i = 0; i < frame.size(); ++i) {
            if (empties-- > 0) steps.push_back(Empty());
            steps.push_back(frame[i]);
        }
        return steps;
    };
    Reply(spread(4));
    EXPECT_EQ(Ask(), 4);

    Reply(spread(5));  // the fifth empty read comes before the checksum byte
    EXPECT_EQ(Ask(), EXCHANGE_NO_REPLY);
}

TEST_F(SerialLinkTest, SilenceEndsAfterFiveEmptyReads) {
    EXPECT_EQ(Ask(), EXCHANGE_NO_REPLY);
    EXPECT_EQ(state().Count(fake::Call::Kind::Read), 5);
    EXPECT_EQ(area, MarkedArea());
}

TEST_F(SerialLinkTest, ReadErrorClearsTheErrorStateAndKeepsThePortOpen) {
    Reply(Concat({Bytes({0xF3}), {fake::Fail()}}));
    EXPECT_EQ(Ask(), EXCHANGE_READ_ERROR);
    EXPECT_EQ(state().Count(fake::Call::Kind::ClearError), 1);
    EXPECT_EQ(state().Events().back(), "clear");
    EXPECT_TRUE(link.IsOpen());
}

// Mended: leftovers and late replies used to become the next exchange's answer.
TEST_F(SerialLinkTest, PurgesTheReceiveSideRightBeforeEachRequest) {
    Ask();
    Ask();
    std::vector<std::string> beforeWrites;
    const auto events = state().Events();
    for (std::size_t i = 1; i < events.size(); ++i)
        if (events[i].rfind("write", 0) == 0) beforeWrites.push_back(events[i - 1]);
    EXPECT_EQ(beforeWrites, (std::vector<std::string>{"discard input", "discard input"}));
}

TEST_F(SerialLinkTest, LateReplyIsNotTakenAsTheNextExchangesAnswer) {
    Reply(Concat({{Empty(), Empty(), Empty(), Empty(), Empty()}, Frame(0xF3, "LATE")}));
    Reply(Frame(0xF5, "V1"));
    EXPECT_EQ(Ask(CMD_ENGINECODE), EXCHANGE_NO_REPLY);
    EXPECT_EQ(Ask(CMD_VERSION), 4);
    EXPECT_EQ(std::string(area.begin(), area.begin() + 2), "V1");
}

TEST_F(SerialLinkTest, BytesLeftAfterAReplyAreDiscarded) {
    // The controller repeated its answer: the second copy must not answer the next request.
    Reply(Concat({Frame(0xF3, "ABCDEFGH"), Frame(0xF3, "ABCDEFGH")}));
    Reply({});  // silent
    EXPECT_EQ(Ask(), 10);
    EXPECT_EQ(Ask(), EXCHANGE_NO_REPLY);
}

// Mended: a reply may carry 253 data bytes, more than the caller's area holds.
TEST_F(SerialLinkTest, LongReplyFillsOnlyTheCallersArea) {
    std::string data(253, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i + 1);
    Reply(Frame(0xF3, data));
    std::array<std::uint8_t, 128 + 16> buffer;
    buffer.fill(0xEE);
    EXPECT_EQ(link.Exchange(CMD_ENGINECODE, 2, buffer.data(), 128), 255);
    EXPECT_TRUE(
        std::equal(buffer.begin(), buffer.begin() + 128, data.begin(),
                   [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));
    EXPECT_TRUE(std::all_of(buffer.begin() + 128, buffer.end(), [](auto b) { return b == 0xEE; }));
}

TEST(SerialLinkLifecycle, OpenConfiguresThePortForTheController) {
    fake::FakeSerialPorts ports;
    CSerialLink link(ports);
    ASSERT_TRUE(link.Open("\\\\.\\COM3"));
    const auto& state = *ports.state;
    // Both directions are discarded before anything else; what Windows makes of the byte wait
    // and the settings is checked in Win32CommSettingsTest.
    EXPECT_EQ(state.Events(), (std::vector<std::string>{"discard all"}));
    EXPECT_EQ(state.byteWaitMs, 101u);
    ASSERT_TRUE(state.lineSettings);
    EXPECT_EQ(state.lineSettings->baud, 19200u);
    EXPECT_EQ(state.lineSettings->parity, sys::Parity::Even);
    EXPECT_EQ(state.lineSettings->dataBits, 8);
    EXPECT_EQ(state.lineSettings->stopBits, sys::StopBits::One);
    EXPECT_EQ(link.PortPath(), "\\\\.\\COM3");
}

TEST(SerialLinkLifecycle, FailedOpenLeavesTheLinkClosedWithTheReason) {
    fake::FakeSerialPorts ports;
    CSerialLink link(ports);
    ports.failOpen = true;
    EXPECT_FALSE(link.Open("COM9"));
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.PortPath(), "COM9");
    EXPECT_EQ(sys::OpenFailureText(link.LastOpenError()), "Access is denied.");
    std::uint8_t area[8] = {};
    EXPECT_EQ(link.Exchange(CMD_ENGINECODE, 2, area, sizeof area), EXCHANGE_READ_ERROR);

    ports.failOpen = false;
    ports.state->failByteWait = true;
    EXPECT_FALSE(link.Open("COM3"));
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(ports.state->openPorts, 0);

    ports.state->failByteWait = false;
    ports.state->failLineSettings = true;
    EXPECT_FALSE(link.Open("COM3"));
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(ports.state->openPorts, 0);
}

TEST(SerialLinkLifecycle, CloseDestructorAndReopen) {
    fake::FakeSerialPorts ports;
    {
        CSerialLink link(ports);
        link.Close();  // closed already: nothing happens
        EXPECT_FALSE(link.IsOpen());
        ASSERT_TRUE(link.Open("COM3"));
        link.Close();
        EXPECT_EQ(ports.state->openPorts, 0);
        link.Close();
        ASSERT_TRUE(link.Open("COM4"));
        EXPECT_EQ(link.PortPath(), "COM4");
        EXPECT_EQ(ports.state->openPorts, 1);
    }
    EXPECT_EQ(ports.state->openPorts, 0);
    EXPECT_EQ(ports.openedPaths, (std::vector<std::string>{"COM3", "COM4"}));
}

}  // namespace
