// Each simulator profile and its texts, read through CSerialLink and RunConnectionTest on a pty.

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/sim/LinkRun.h"
#include "tests/sim/SimUnderTest.h"

namespace simtest {
namespace {

TEST(SimProfile, TarvexAnswersItsSetAndIgnoresTheLegacySet) {
    SimUnderTest sim({"--profile", "tarvex"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, DEFAULT_ENGINE_CODE);
    EXPECT_EQ(outcome.version, DEFAULT_VERSION);
    EXPECT_EQ(outcome.protection, ProtectionResult::None);
    EXPECT_EQ(outcome.refreshes, 1);
    EXPECT_EQ(outcome.legacyEngineCode, std::nullopt);
    EXPECT_EQ(outcome.legacyVersion, std::nullopt);
}

TEST(SimProfile, ProtectedDiffersFromEightSpacesOnlyInTheNinthByte) {
    SimUnderTest sim({"--profile", "protected"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, DEFAULT_ENGINE_CODE);
    EXPECT_EQ(outcome.protection, ProtectionResult::Protected);
    EXPECT_EQ(outcome.refreshes, 1);
    EXPECT_EQ(outcome.legacyEngineCode, std::nullopt);
}

TEST(SimProfile, LegacyAnswersOnlyTheLegacySet) {
    SimUnderTest sim({"--profile", "legacy"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, std::nullopt);
    EXPECT_EQ(outcome.version, std::nullopt);
    EXPECT_EQ(outcome.protection, ProtectionResult::NoResponse);
    EXPECT_EQ(outcome.refreshes, 0);
    EXPECT_EQ(outcome.legacyEngineCode, DEFAULT_LEGACY_ENGINE_CODE);
    EXPECT_EQ(outcome.legacyVersion, DEFAULT_LEGACY_VERSION);
}

TEST(SimProfile, DualAnswersAllFive) {
    SimUnderTest sim({"--profile", "dual"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, DEFAULT_ENGINE_CODE);
    EXPECT_EQ(outcome.version, DEFAULT_VERSION);
    EXPECT_EQ(outcome.protection, ProtectionResult::None);
    EXPECT_EQ(outcome.legacyEngineCode, DEFAULT_LEGACY_ENGINE_CODE);
    EXPECT_EQ(outcome.legacyVersion, DEFAULT_LEGACY_VERSION);
}

TEST(SimProfile, SilentPortGivesFiveNoResponses) {
    SimUnderTest sim({"--profile", "silent"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, std::nullopt);
    EXPECT_EQ(outcome.version, std::nullopt);
    EXPECT_EQ(outcome.protection, ProtectionResult::NoResponse);
    EXPECT_EQ(outcome.legacyEngineCode, std::nullopt);
    EXPECT_EQ(outcome.legacyVersion, std::nullopt);
    EXPECT_EQ(outcome.refreshes, 0);
    // Reported, not asserted: timings on a shared machine are noisy.
    std::printf("silent port: %.3f s for the test (25 empty reads of 101 ms = 2.525 s)\n",
                outcome.seconds);
    EXPECT_EQ(sim.RequestLines().size(), 5u);
}

TEST(SimTexts, LongTextsAreCutToTheirWindows) {
    SimUnderTest sim({"--profile", "dual", "--engine-code", "ABCDEFGHIJ", "--version", "12345678",
                      "--legacy-engine-code", "LEGACY-CODE", "--legacy-version", "9.8.7.6"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, "ABCDEFGH");
    EXPECT_EQ(outcome.version, "12345");
    EXPECT_EQ(outcome.legacyEngineCode, "LEGACY-C");
    EXPECT_EQ(outcome.legacyVersion, "9.8.7");
}

TEST(SimTexts, AZeroByteEndsTheText) {
    SimUnderTest sim({"--engine-code", "hex:414243004546", "--version", "hex:0031"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, "ABC");
    EXPECT_EQ(outcome.version, "");
}

// A reply area shared over the inquiries would show these answers with leftovers of the ones
// before: a long version reaching byte 8 would make eight spaces read as protected, and a short
// legacy version would carry the legacy engine code's fourth and fifth bytes.
TEST(SimTexts, ShortAnswersShowNoLeftoversOfEarlierAnswers) {
    SimUnderTest sim({"--profile", "dual", "--version", "V3.02-BUILD7", "--legacy-engine-code",
                      "ABCDEFGH", "--legacy-version", "V1"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.version, "V3.02");
    EXPECT_EQ(outcome.protection, ProtectionResult::None);
    EXPECT_EQ(outcome.legacyVersion, "V1");
}

TEST(SimTexts, EightSpacesReadAsNoneEvenWhenTheEngineCodeFailed) {
    SimUnderTest sim({"--bad-checksum", "--fault-on", "F3", "--version", "V3.02-BUILD7"});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, std::nullopt);
    EXPECT_EQ(outcome.protection, ProtectionResult::None);
}

}  // namespace
}  // namespace simtest
