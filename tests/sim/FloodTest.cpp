// marlox-sim --flood: garbage for the whole test instead of any answer.

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

#include "link/SerialLink.h"
#include "sys/SerialPort.h"
#include "tests/sim/LinkRun.h"
#include "tests/sim/SimUnderTest.h"

namespace simtest {
namespace {

using ::testing::Each;
using ::testing::HasSubstr;
using ::testing::SizeIs;

// True when every byte is the pattern's successor of the one before.
bool FollowsPattern(const std::vector<std::uint8_t>& bytes,
                    const std::vector<std::uint8_t>& pattern) {
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        const auto at = std::find(pattern.begin(), pattern.end(), bytes[i - 1]);
        if (at == pattern.end()) return false;
        const auto next = std::next(at) == pattern.end() ? pattern.begin() : std::next(at);
        if (bytes[i] != *next) return false;
    }
    return true;
}

TEST(SimFlood, EveryInquiryIsNoResponseWhereverTheDefaultPatternIsCut) {
    SimUnderTest sim({"--profile", "dual", "--flood"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, std::nullopt);
    EXPECT_EQ(outcome.version, std::nullopt);
    EXPECT_EQ(outcome.protection, ProtectionResult::NoResponse);
    EXPECT_EQ(outcome.refreshes, 0);
    EXPECT_EQ(outcome.legacyEngineCode, std::nullopt);
    EXPECT_EQ(outcome.legacyVersion, std::nullopt);
    // Each request got through the flood and was heard, not answered.
    EXPECT_THAT(sim.RequestLines(), SizeIs(5));
    EXPECT_THAT(sim.RequestLines(), Each(HasSubstr("not answered (flooding)")));
}

TEST(SimFlood, PatternKeepsComingUnbrokenAcrossRequests) {
    const std::vector<std::uint8_t> pattern = {0x01, 0x02, 0x03};
    SimUnderTest sim({"--flood=010203"});
    std::unique_ptr<sys::SerialPort> port = sys::SystemSerialPorts().OpenExclusive(sim.Path()).port;
    ASSERT_TRUE(port);
    ASSERT_TRUE(port->SetByteWait(BYTE_WAIT_MS));
    port->Discard(sys::DiscardScope::Input);

    const std::vector<std::uint8_t> before = ReadRaw(*port, 100, 20);
    const std::uint8_t request[] = {0xF3, 0x02, 0x0A};
    ASSERT_TRUE(port->WriteAndFlush(request, sizeof request));
    const std::vector<std::uint8_t> after = ReadRaw(*port, 100, 20);

    ASSERT_THAT(before, SizeIs(100));
    ASSERT_THAT(after, SizeIs(100));
    EXPECT_TRUE(FollowsPattern(before, pattern));
    EXPECT_TRUE(FollowsPattern(after, pattern));
    EXPECT_THAT(sim.RequestLines(), SizeIs(1));
}

TEST(SimFlood, UsageErrors) {
    EXPECT_EQ(RunSimToExit({"--flood="}), 1);
    EXPECT_EQ(RunSimToExit({"--flood=0"}), 1);                  // odd hex digits
    EXPECT_EQ(RunSimToExit({"--flood", "--bad-checksum"}), 1);  // no reply to spoil
    EXPECT_EQ(RunSimToExit({"--flood=55AA", "--fault-on", "F3"}), 1);
}

}  // namespace
}  // namespace simtest
