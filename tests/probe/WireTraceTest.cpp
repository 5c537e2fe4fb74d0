// --trace: the decorator passes every call through and writes one line per frame, with the
// port's prefix, whatever the reads looked like.

#include <gtest/gtest.h>

#include <regex>

#include "link/SerialLink.h"
#include "tests/sys/FakeSerialPort.h"
#include "tools/probe/MultiProbe.h"
#include "tools/probe/WireTrace.h"

namespace {

class Lines final : public probe::LineSink {
public:
    std::vector<std::string> lines;
    void WriteLine(const std::string& line) override { lines.push_back(line); }
};

// The lines without their time stamps, which are checked for form only.
std::vector<std::string> Untimed(const std::vector<std::string>& lines, const std::string& prefix) {
    const std::regex stamp("^" + prefix + R"(\d+ ms )");
    std::vector<std::string> untimed;
    for (const std::string& line : lines) {
        EXPECT_TRUE(std::regex_search(line, stamp)) << line;
        untimed.push_back(std::regex_replace(line, stamp, ""));
    }
    return untimed;
}

TEST(WireTrace, OneLinePerFrameSentOrReceivedAndEachFailedRead) {
    struct Case {
        const char* what;
        std::vector<fake::Step> reply;
        std::int32_t result;
        std::vector<std::string> lines;
    };
    std::vector<fake::Step> gapped = fake::Concat(
        {fake::Bytes({0xF3, 0x04}), {fake::Empty()}, fake::Bytes({0x41, 0x42}), {fake::Empty()}});
    gapped.insert(gapped.end(), {{sys::ReadStatus::Byte, 0x85}});
    const Case cases[] = {
        {"whole reply", fake::Frame(0xF3, "AB"), 4, {"sent F3 02 0A", "received F3 04 41 42 85"}},
        {"reply with pauses in it", gapped, 4, {"sent F3 02 0A", "received F3 04 41 42 85"}},
        {"silence", {}, EXCHANGE_NO_REPLY, {"sent F3 02 0A"}},
        {"cut off by a failed read",
         fake::Concat({fake::Bytes({0xF3, 0x0A, 0x45}), {fake::Fail()}}),
         EXCHANGE_READ_ERROR,
         {"sent F3 02 0A", "received F3 0A 45", "read failed"}},
        {"cut off by silence",
         fake::Bytes({0xF3, 0x0A, 0x45}),
         EXCHANGE_NO_REPLY,
         {"sent F3 02 0A", "received F3 0A 45"}},  // written when the port closes
    };
    for (const std::string prefix : {"", "/dev/ttyUSB1: "}) {
        for (const Case& c : cases) {
            fake::FakeSerialPorts fakePorts;
            fakePorts.state->repliesToWrites.push_back(c.reply);
            Lines sink;
            {
                probe::TracingSerialPorts ports(fakePorts, sink, prefix);
                CSerialLink link(ports);
                ASSERT_TRUE(link.Open("/dev/ttyUSB1"));
                std::uint8_t area[16] = {};
                EXPECT_EQ(link.Exchange(0xF3, 2, area, sizeof area), c.result) << c.what;
            }
            EXPECT_EQ(Untimed(sink.lines, prefix), c.lines) << c.what;
            EXPECT_EQ(fakePorts.state->openPorts, 0) << c.what;
        }
    }
}

TEST(WireTrace, AFailedOpenIsPassedOnWithItsReason) {
    fake::FakeSerialPorts fakePorts;
    fakePorts.failOpen = true;
    Lines sink;
    probe::TracingSerialPorts ports(fakePorts, sink, "");
    const sys::OpenResult result = ports.OpenExclusive("COM3");
    EXPECT_EQ(result.port, nullptr);
    EXPECT_EQ(sys::OpenFailureText(result.failure), "Access is denied.");
    EXPECT_TRUE(sink.lines.empty());
}

TEST(WireTrace, APortsNameInThePrefixShowsNoControls) {
    Lines sink;
    fake::FakeSerialPorts ports;
    probe::ProbePorts({{"ttyS0\x1B[2J", "/dev/ttyS0"}}, ports, &sink);
    ASSERT_FALSE(sink.lines.empty());
    for (const std::string& line : sink.lines)
        EXPECT_EQ(line.rfind("ttyS0\\x1B[2J: ", 0), 0u) << line;
}

}  // namespace
