// Faulty replies from the simulator, through CSerialLink on a real pty: each costs its own
// inquiry and nothing else.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "link/SerialLink.h"
#include "tests/sim/LinkRun.h"
#include "tests/sim/SimUnderTest.h"

namespace simtest {
namespace {

using namespace std::chrono_literals;

TEST(SimFault, BadChecksumIsNoResponseForThatInquiryOnly) {
    SimUnderTest sim({"--bad-checksum", "--fault-on", "F5"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, DEFAULT_ENGINE_CODE);
    EXPECT_EQ(outcome.version, std::nullopt);
    EXPECT_EQ(outcome.protection, ProtectionResult::None);
}

TEST(SimFault, ReplyCutOffMidFrameIsNoResponse) {
    SimUnderTest sim({"--cut-off", "--fault-on", "F3"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, std::nullopt);
    EXPECT_EQ(outcome.version, DEFAULT_VERSION);
    EXPECT_EQ(outcome.protection, ProtectionResult::None);
}

TEST(SimFault, NoiseBeforeTheReplyIsNoResponse) {
    // The default noise 00 FF announces a 256-byte frame the reply cannot fill.
    SimUnderTest sim({"--noise", "--fault-on", "AD"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, DEFAULT_ENGINE_CODE);
    EXPECT_EQ(outcome.protection, ProtectionResult::NoResponse);
    EXPECT_EQ(outcome.refreshes, 0);
}

// FF 00 is a complete frame of length 0, so the real reply behind it stays unread; it must not
// become the version's answer.
TEST(SimFault, BytesLeftOverFromAReplyAreNotTheNextAnswer) {
    SimUnderTest sim({"--noise=FF00", "--fault-on", "F3"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, "");
    EXPECT_EQ(outcome.version, DEFAULT_VERSION);
}

TEST(SimFault, LateReplyIsNotTakenAsTheNextInquirysAnswer) {
    // The engine code arrives 900 ms after its request: after the link gave up (about 505 ms)
    // and while the observer still shows the result.
    SimUnderTest sim({"--late=900", "--fault-on", "F3"});
    const Outcome outcome = RunOnPath(sim.Path(), [](Inquiry inquiry) {
        if (inquiry == Inquiry::EngineCode) std::this_thread::sleep_for(1000ms);
    });
    EXPECT_EQ(outcome.engineCode, std::nullopt);
    EXPECT_EQ(outcome.version, DEFAULT_VERSION);
    EXPECT_EQ(outcome.protection, ProtectionResult::None);
}

TEST(SimFault, LongReplyNeverWritesPastTheArea) {
    SimUnderTest sim({"--long-reply", "--fault-on", "F3"});
    CSerialLink link;
    ASSERT_TRUE(link.Open(sim.Path())) << sys::OpenFailureText(link.LastOpenError());

    constexpr std::size_t AREA = 128;
    constexpr std::uint8_t GUARD = 0xEE;
    std::vector<std::uint8_t> buffer(AREA + 64, GUARD);
    EXPECT_EQ(link.Exchange(0xF3, 2, buffer.data(), AREA), 255);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 8), DEFAULT_ENGINE_CODE);
    EXPECT_TRUE(std::all_of(buffer.begin() + 8, buffer.begin() + AREA,
                            [](std::uint8_t byte) { return byte == '#'; }));
    EXPECT_TRUE(std::all_of(buffer.begin() + AREA, buffer.end(),
                            [](std::uint8_t byte) { return byte == GUARD; }));

    // The whole connection test takes the long answer's first eight bytes.
    const Outcome outcome = RunOn(link);
    EXPECT_EQ(outcome.engineCode, DEFAULT_ENGINE_CODE);
    EXPECT_EQ(outcome.version, DEFAULT_VERSION);
}

TEST(SimFault, ShortPausesBetweenBytesAreTolerated) {
    SimUnderTest sim({"--byte-gap", "20"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, DEFAULT_ENGINE_CODE);
    EXPECT_EQ(outcome.version, DEFAULT_VERSION);
    EXPECT_EQ(outcome.protection, ProtectionResult::None);
}

TEST(SimFault, PausesLongerThanTheReadTimeOutUseUpTheBudget) {
    // Ten pauses of 150 ms in an 11-byte reply: each costs an empty read, the fifth ends it.
    SimUnderTest sim({"--byte-gap", "150", "--fault-on", "F3"});
    CSerialLink link;
    ASSERT_TRUE(link.Open(sim.Path())) << sys::OpenFailureText(link.LastOpenError());
    std::uint8_t area[128] = {};
    EXPECT_EQ(link.Exchange(0xF3, 2, area, sizeof area), EXCHANGE_NO_REPLY);
    EXPECT_TRUE(link.IsOpen());
}

TEST(SimFault, HangUpMidReplyEndsInNoResponseWithThePortStillClosable) {
    SimUnderTest sim({"--profile", "dual", "--hang-up", "--fault-on", "AD"});
    CSerialLink link;
    ASSERT_TRUE(link.Open(sim.Path())) << sys::OpenFailureText(link.LastOpenError());
    const Outcome outcome = RunOn(link);
    EXPECT_EQ(outcome.engineCode, DEFAULT_ENGINE_CODE);
    EXPECT_EQ(outcome.version, DEFAULT_VERSION);
    EXPECT_EQ(outcome.protection, ProtectionResult::NoResponse);
    EXPECT_EQ(outcome.refreshes, 0);
    EXPECT_EQ(outcome.legacyEngineCode, std::nullopt);
    EXPECT_EQ(outcome.legacyVersion, std::nullopt);

    EXPECT_TRUE(link.IsOpen());
    link.Close();
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(sim.WaitForExit(3s), 0);
}

TEST(SimFault, DelayedAndBaudPacedRepliesWithinTheTimeOutAreAnswers) {
    SimUnderTest sim({"--profile", "dual", "--reply-delay", "50", "--baud-pacing"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, DEFAULT_ENGINE_CODE);
    EXPECT_EQ(outcome.version, DEFAULT_VERSION);
    EXPECT_EQ(outcome.protection, ProtectionResult::None);
    EXPECT_EQ(outcome.legacyEngineCode, DEFAULT_LEGACY_ENGINE_CODE);
    EXPECT_EQ(outcome.legacyVersion, DEFAULT_LEGACY_VERSION);
}

}  // namespace
}  // namespace simtest
