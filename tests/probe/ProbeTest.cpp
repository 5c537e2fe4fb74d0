#include <gtest/gtest.h>

#include <sstream>

#include "link/SerialLink.h"
#include "tests/sys/FakeSerialPort.h"
#include "tools/probe/Json.h"
#include "tools/probe/MultiProbe.h"
#include "tools/probe/Probe.h"

namespace {

using fake::Frame;

TEST(Printable, OneRuleForTextAndJsonEscapesWhatSteersATerminalAndKeepsUtf8) {
    struct Case {
        std::string bytes;
        const char* shown;
    };
    const Case cases[] = {
        {"ABC 1.0", "ABC 1.0"},
        {std::string("\x00\x1B[2J\t\n\x7F", 8), "\\x00\\x1B[2J\\x09\\x0A\\x7F"},
        {"Ger\xC3\xA4t \xE5\xBF\x9C", "Ger\xC3\xA4t \xE5\xBF\x9C"},      // UTF-8 stays readable
        {"\xC2\x85\xC2\x9B[\xC2\xA0", "\\xC2\\x85\\xC2\\x9B[\xC2\xA0"},  // C1, not NBSP
        // Bidirectional overrides and isolates, the ranges' ends, and U+2029 beside them.
        {"\xE2\x80\xAA-\xE2\x80\xAE-\xE2\x81\xA6-\xE2\x81\xA9-\xE2\x80\xA9",
         "\\xE2\\x80\\xAA-\\xE2\\x80\\xAE-\\xE2\\x81\\xA6-\\xE2\\x81\\xA9-\xE2\x80\xA9"},
        // Cut-off, overlong, surrogate, beyond U+10FFFF and stray bytes are not UTF-8.
        {"\xC3 \xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \x80\xFF",
         "\\xC3 \\xC0\\xAF \\xED\\xA0\\x80 \\xF4\\x90\\x80\\x80 \\x80\\xFF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(probe::Printable(c.bytes), c.shown) << c.shown;
        std::string json = "\"";
        for (const char ch : std::string(c.shown))
            json += ch == '\\' ? "\\\\" : std::string(1, ch);
        EXPECT_EQ(probe::JsonText(probe::JsonString(c.bytes)), json + "\"") << c.shown;
    }
    EXPECT_EQ(probe::JsonText(probe::JsonString("a\"b\\c")), "\"a\\\"b\\\\c\"");
    // A holder's process name inside a reason, as a multi-port run prints it.
    const probe::PortReport held{"/dev/ttyS0", std::nullopt, "in use by \x1B]0;x\x07 (PID 7)"};
    EXPECT_EQ(probe::FormatReportsText({held}, false),
              "Port: /dev/ttyS0\nError: in use by \\x1B]0;x\\x07 (PID 7)\n");
}

TEST(Json, BuildsObjectsAndArraysInOrder) {
    const std::string object = probe::JsonText({{"name", probe::JsonString("COM3")},
                                                {"missing", probe::JsonStringOrNull(std::nullopt)},
                                                {"usb", true},
                                                {"list", {1, nullptr}}});
    EXPECT_EQ(object,
              "{\"name\": \"COM3\", \"missing\": null, \"usb\": true, \"list\": [1, null]}");
    EXPECT_EQ(probe::JsonText(probe::Json::array()), "[]");
}

TEST(PathToOpen, BareWindowsNamesTakeTheDevicePrefixAndPathsStay) {
    struct Case {
        const char* typed;
        bool windowsNames;
        const char* opened;
    };
    const Case cases[] = {
        {"COM3", true, "\\\\.\\COM3"},
        {"COM10", true, "\\\\.\\COM10"},
        {"\\\\.\\COM5", true, "\\\\.\\COM5"},
        {"\\\\?\\ftdibus#a", true, "\\\\?\\ftdibus#a"},
        {"\\COM3", true, "\\\\.\\\\COM3"},  // one backslash is no device path
        {"/dev/ttyUSB0", false, "/dev/ttyUSB0"},
        {"COM3", false, "COM3"},
        {"ttyS0", false, "ttyS0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(probe::PathToOpen(c.typed, c.windowsNames), c.opened) << c.typed;
    // Without the flag: the running system's naming.
    EXPECT_EQ(probe::PathToOpen("COM3"), probe::PathToOpen("COM3", sys::WINDOWS_PORT_NAMES));
}

class ProbeTest : public ::testing::Test {
protected:
    int Probe(bool json) {
        CSerialLink link(ports);
        const int status = probe::Probe(link, "/dev/ttyUSB0", json, out, err);
        EXPECT_FALSE(link.IsOpen());
        return status;
    }

    fake::FakeSerialPorts ports;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(ProbeTest, PrintsTheFiveOutcomesAsJson) {
    for (auto reply : {Frame(0xF3, "EC\"1\x07"), Frame(0xF5, "1.0"), Frame(0xAD, "SECRET  "),
                       std::vector<fake::Step>{}, std::vector<fake::Step>{}})
        ports.state->repliesToWrites.push_back(reply);
    EXPECT_EQ(Probe(true), probe::EXIT_OK);
    EXPECT_EQ(out.str(),
              "{\"port\": \"/dev/ttyUSB0\", \"engine_code\": \"EC\\\"1\\\\x07\", "
              "\"version\": \"1.0\", \"protection\": \"protected\", "
              "\"legacy_engine_code\": null, \"legacy_version\": null}\n");
    EXPECT_EQ(ports.state->openPorts, 0);
}

TEST_F(ProbeTest, PrintsTheResultTextsForPeople) {
    for (auto reply : {std::vector<fake::Step>{}, std::vector<fake::Step>{},
                       Frame(0xAD, "        "), Frame(0x6B, "OLD\x1B[2J"), Frame(0x6C, "0.9")})
        ports.state->repliesToWrites.push_back(reply);
    EXPECT_EQ(Probe(false), probe::EXIT_OK);
    EXPECT_EQ(out.str(),
              "Port: /dev/ttyUSB0\n"
              "Engine code: No respond\n"
              "Version: No respond\n"
              "Protection: None\n"
              "Legacy engine code: OLD\\x1B[2J\n"
              "Legacy version: 0.9\n");
}

TEST_F(ProbeTest, ResultsThatCannotBeWrittenAreExitStatusOne) {
    out.setstate(std::ios::badbit);  // as std::cout on a full disk or a closed descriptor
    EXPECT_EQ(Probe(false), probe::EXIT_WRITE_FAILED);
    EXPECT_EQ(err.str(), "marlox-probe: the output could not be written\n");
}

TEST_F(ProbeTest, UnopenablePortIsExitStatusTwoWithTheReason) {
    ports.failOpen = true;
    EXPECT_EQ(Probe(true), probe::EXIT_CANNOT_OPEN);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("Can not open COM Port"), std::string::npos);
    EXPECT_NE(err.str().find("Access is denied."), std::string::npos);
}

}  // namespace
