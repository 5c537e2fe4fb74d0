// marlox-probe --list: the five fields of every entry, as text and as JSON, and a discovery
// failure reported on stderr with exit status 1.
#include "tests/sys/FakePlatform.h"
#include "tools/probe/ListPorts.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class ListPortsCommand : public ::testing::Test {
protected:
    int List(bool json) { return probe::ListPorts(platform, json, out, err); }

    fake::Platform platform;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(ListPortsCommand, JsonHasEveryFieldOfEveryEntry) {
    platform.setupApi.interfaces = {
        {"\\\\?\\ftdibus#a", "USB \"Serial\" Port (COM5)", "USB Serial Port", "USB"},
        {"/dev/ttyS0", "Serial port (ttyS0)", "Serial port", std::nullopt}};
    EXPECT_EQ(List(true), 0);
    EXPECT_EQ(out.str(),
              "[{\"devicePath\": \"\\\\\\\\?\\\\ftdibus#a\", \"portName\": \"\", "
              "\"friendlyName\": \"USB \\\"Serial\\\" Port (COM5)\", \"isUsb\": true, "
              "\"description\": \"USB Serial Port\"}, "
              "{\"devicePath\": \"/dev/ttyS0\", \"portName\": \"\", "
              "\"friendlyName\": \"Serial port (ttyS0)\", \"isUsb\": false, "
              "\"description\": \"Serial port\"}]\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(ListPortsCommand, TextHasOneTabSeparatedLinePerEntry) {
    platform.UseVersion(4, sys::PLATFORM_WIN32_NT);
    EXPECT_EQ(List(false), 0);
    std::istringstream lines(out.str());
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        const std::string name = "COM" + std::to_string(count);
        EXPECT_EQ(line, "\\\\.\\" + name + "\t" + name + "\t" + name + "\t0\t" + name);
    }
    EXPECT_EQ(count, 16);
}

TEST_F(ListPortsCommand, InventoryPortsKeepTheirNamesAndUsbMarkAndShowNoControls) {
    struct OnePort : sys::PortInventory {
        std::vector<sys::InventoryPort> ListPorts() const override {
            return {
                {"/dev/ttyACM0", "ttyACM0", "Pico\t(ttyACM0)", true, "Pico\xE2\x80\xAE\xC2\x9B"}};
        }
    } inventory;
    sys::InventoryPlatform withInventory(inventory);
    EXPECT_EQ(probe::ListPorts(withInventory, false, out, err), 0);
    EXPECT_EQ(out.str(),
              "/dev/ttyACM0\tttyACM0\tPico\\x09(ttyACM0)\t1\tPico\\xE2\\x80\\xAE\\xC2\\x9B\n");
}

TEST_F(ListPortsCommand, NoPortsIsAnEmptyArray) {
    EXPECT_EQ(List(true), 0);
    EXPECT_EQ(out.str(), "[]\n");
}

TEST_F(ListPortsCommand, FailurePrintsItsTextOnStderrAndExitsOne) {
    // Also where the dialog shows a box or nothing. Each failure comes earlier in the run.
    const std::pair<void (*)(fake::SetupApi&), const char*> failures[] = {
        {[](fake::SetupApi& api) { api.classQueryError = 0x7a; },
         "pSetupDiGetClassDevs failed. (err=7a)\n"},
        {[](fake::SetupApi& api) { api.missingEntryPoint = "SetupDiGetClassDevsA"; },
         "SETUPAPI.DLL has no SetupDiGetClassDevsA\n"},
        {[](fake::SetupApi& api) { api.loads = false; }, "Can't Load SETUPAPI.DLL\n"}};
    for (const auto& [fail, text] : failures) {
        fail(platform.setupApi);
        err.str("");
        EXPECT_EQ(List(true), 1);
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(err.str(), text);
    }
}

TEST_F(ListPortsCommand, AListThatCannotBeWrittenIsExitStatusOne) {
    out.setstate(std::ios::badbit);
    EXPECT_EQ(List(false), 1);
    EXPECT_EQ(err.str(), "marlox-probe: the output could not be written\n");
}

TEST_F(ListPortsCommand, RejectsUnknownArguments) {
    EXPECT_NE(probe::RunListCommand({"--list", "--bogus"}, out, err), 0);
    EXPECT_NE(err.str().find("usage"), std::string::npos);
}

}  // namespace
