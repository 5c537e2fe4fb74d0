// Opening and closing CSerialLink on real ptys.

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "link/SerialLink.h"
#include "tests/sim/LinkRun.h"
#include "tests/sim/SimUnderTest.h"

namespace simtest {
namespace {

TEST(SimPort, ASecondOpenOfAHeldPortFails) {
    SimUnderTest sim;
    CSerialLink holder;
    ASSERT_TRUE(holder.Open(sim.Path())) << sys::OpenFailureText(holder.LastOpenError());

    CSerialLink second;
    EXPECT_FALSE(second.Open(sim.Path()));
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(second.PortPath(), sim.Path());
    EXPECT_FALSE(sys::OpenFailureText(second.LastOpenError()).empty());

    holder.Close();
    EXPECT_TRUE(second.Open(sim.Path())) << sys::OpenFailureText(second.LastOpenError());
}

TEST(SimPort, OpenOfAMissingPathFailsAndLeavesTheLinkClosed) {
    CSerialLink link;
    const std::string missing = "/dev/marlox-no-such-port";
    EXPECT_FALSE(link.Open(missing));
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.PortPath(), missing);
    EXPECT_FALSE(sys::OpenFailureText(link.LastOpenError()).empty());
    link.Close();  // closing a closed link does nothing
    EXPECT_FALSE(link.IsOpen());
}

TEST(SimPort, FailedOpenAfterAnOpenPortLeavesNothingOpen) {
    SimUnderTest sim;
    CSerialLink link;
    ASSERT_TRUE(link.Open(sim.Path()));
    EXPECT_FALSE(link.Open("/dev/marlox-no-such-port"));
    EXPECT_FALSE(link.IsOpen());
    // The pty is free again.
    CSerialLink other;
    EXPECT_TRUE(other.Open(sim.Path())) << sys::OpenFailureText(other.LastOpenError());
}

TEST(SimPort, ReopeningOnAnotherPathTalksToTheOtherController) {
    SimUnderTest tarvex({"--profile", "tarvex"});
    SimUnderTest legacy({"--profile", "legacy", "--legacy-version", "L2.00"});
    CSerialLink link;

    ASSERT_TRUE(link.Open(tarvex.Path())) << sys::OpenFailureText(link.LastOpenError());
    EXPECT_EQ(RunOn(link).engineCode, DEFAULT_ENGINE_CODE);
    link.Close();

    ASSERT_TRUE(link.Open(legacy.Path())) << sys::OpenFailureText(link.LastOpenError());
    EXPECT_EQ(link.PortPath(), legacy.Path());
    const Outcome outcome = RunOn(link);
    EXPECT_EQ(outcome.engineCode, std::nullopt);
    EXPECT_EQ(outcome.legacyVersion, "L2.00");
    link.Close();
    EXPECT_EQ(legacy.RequestLines().size(), 5u);
    EXPECT_EQ(tarvex.RequestLines().size(), 5u);
}

TEST(SimPort, TheSymlinkOpensLikeThePty) {
    const std::string linkPath = "/tmp/marlox-sim-test-" + std::to_string(::getpid()) + ".tty";
    SimUnderTest sim({"--link", linkPath});
    const Outcome outcome = RunOnPath(linkPath);
    EXPECT_EQ(outcome.engineCode, DEFAULT_ENGINE_CODE);
}

}  // namespace
}  // namespace simtest
