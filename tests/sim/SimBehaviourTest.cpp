// The simulator's own behaviour that the other tests rely on: what it logs, what it puts on the
// wire, how it ends.

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "link/SerialLink.h"
#include "sys/SerialPort.h"
#include "tests/sim/LinkRun.h"
#include "tests/sim/SimUnderTest.h"

namespace simtest {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::string TempLinkPath(const char* name) {
    return "/tmp/marlox-sim-test-" + std::to_string(::getpid()) + "-" + name;
}

TEST(SimBehaviour, LogsEveryRequestWithItsExactBytes) {
    SimUnderTest sim({"--profile", "tarvex"});
    RunOnPath(sim.Path());
    EXPECT_THAT(sim.RequestLines(),
                ElementsAre(StartsWith("request F3 02 0A (engine code): reply F3 0A"),
                            StartsWith("request F5 02 08 (version): reply F5 07"),
                            StartsWith("request AD 02 50 (protection): reply AD 0A"),
                            StartsWith("request 6B 02 92 (legacy engine code): ignored"),
                            StartsWith("request 6C 02 91 (legacy version): ignored")));
}

TEST(SimBehaviour, SkipsGarbageAndAnswersWithTheExactFrame) {
    SimUnderTest sim;
    std::unique_ptr<sys::SerialPort> port = sys::SystemSerialPorts().OpenExclusive(sim.Path()).port;
    ASSERT_TRUE(port);
    ASSERT_TRUE(port->SetByteWait(BYTE_WAIT_MS));
    ASSERT_TRUE(port->ApplyLineSettings(CONTROLLER_LINE_SETTINGS));

    const std::uint8_t garbageThenRequest[] = {0x00, 0x11, 0xF3, 0x02, 0x0A};
    ASSERT_TRUE(port->WriteAndFlush(garbageThenRequest, sizeof garbageThenRequest));
    // F3, N = 10, "E7TX0421", complement of the sum.
    EXPECT_THAT(ReadRaw(*port, SIZE_MAX, 3),
                ElementsAre(0xF3, 0x0A, 'E', '7', 'T', 'X', '0', '4', '2', '1', 0x13));
    EXPECT_THAT(sim.LogText(), HasSubstr("garbage 00 11 skipped"));
    EXPECT_EQ(sim.RequestLines().size(), 1u);
}

TEST(SimBehaviour, NamesTheFaultsItAppliesInTheLog) {
    SimUnderTest sim(
        {"--profile", "dual", "--bad-checksum", "--cut-off", "--cut-at", "4", "--fault-on", "6C"});
    RunOnPath(sim.Path());
    const std::vector<std::string> lines = sim.RequestLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_THAT(lines[3], ::testing::Not(HasSubstr("checksum off by one")));
    EXPECT_THAT(lines[4], HasSubstr("checksum off by one"));
    EXPECT_THAT(lines[4], HasSubstr("cut off after 4 of 8 bytes"));
}

TEST(SimBehaviour, StopSignalRemovesTheSymlink) {
    const std::string linkPath = TempLinkPath("stop.tty");
    SimUnderTest sim({"--link", linkPath});
    char target[256] = {};
    ASSERT_GT(::readlink(linkPath.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), sim.Path());

    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.WaitForExit(3s), 0);
    EXPECT_FALSE(Exists(linkPath));
}

TEST(SimBehaviour, ExitsAfterTheGivenNumberOfRequests) {
    const std::string linkPath = TempLinkPath("exit.tty");
    SimUnderTest sim({"--profile", "dual", "--exit-after", "2", "--link", linkPath});
    const Outcome outcome = RunOnPath(sim.Path());
    EXPECT_EQ(outcome.engineCode, DEFAULT_ENGINE_CODE);
    EXPECT_EQ(outcome.version, DEFAULT_VERSION);
    EXPECT_EQ(outcome.protection, ProtectionResult::NoResponse);  // gone, port hung up
    EXPECT_EQ(sim.WaitForExit(3s), 0);
    EXPECT_FALSE(Exists(linkPath));
}

TEST(SimBehaviour, RefusesToReplaceAFileWithItsSymlink) {
    const std::string path = TempLinkPath("file");
    {
        FILE* file = std::fopen(path.c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fclose(file);
    }
    EXPECT_EQ(RunSimToExit({"--link", path}), 2);
    EXPECT_TRUE(Exists(path));
    std::remove(path.c_str());
}

TEST(SimBehaviour, UsageErrorsExitWithOne) {
    EXPECT_EQ(RunSimToExit({"--help"}), 0);
    EXPECT_EQ(RunSimToExit({"--profile", "chatty"}), 1);
    EXPECT_EQ(RunSimToExit({"--late", "700"}), 1);           // optional values need "="
    EXPECT_EQ(RunSimToExit({"--fault-on", "F3"}), 1);        // no fault to apply
    EXPECT_EQ(RunSimToExit({"--engine-code", "hex:4"}), 1);  // odd hex digits
    EXPECT_EQ(RunSimToExit({"--byte-gap", "-5"}), 1);
    EXPECT_EQ(RunSimToExit({"--exit-after", "0"}), 1);
}

}  // namespace
}  // namespace simtest
