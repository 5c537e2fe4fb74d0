// marlox-probe --list --watch: the list, then one line per port that came or went, listed once
// per burst of device events and at every quiet interval; a failure keeps the list it had.
#include "tests/sys/FakePlatform.h"
#include "tools/probe/FollowPorts.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <sstream>

namespace {

// A machine whose inventory the script changes between the watch's waits.
class ScriptedMachine : public sys::PortInventory, public sys::PortEventWait {
public:
    std::vector<sys::InventoryPort> ListPorts() const override {
        ++listings;
        return ports;
    }
    // Each wait runs the next step and wakes as it says; the script's end stops the watch.
    sys::WaitEnd Wait(int timeoutMs) override {
        waits.push_back(timeoutMs);
        if (script.empty()) return sys::WaitEnd::Stopped;
        const auto step = std::move(script.front());
        script.pop_front();
        return step();
    }

    std::vector<sys::InventoryPort> ports;
    std::deque<std::function<sys::WaitEnd()>> script;
    std::vector<int> waits;
    mutable int listings = 0;
};

const sys::InventoryPort USB0{"/dev/ttyUSB0", "ttyUSB0", "FT232R (ttyUSB0)", true, "FT232R"};
const sys::InventoryPort S4{"/dev/ttyS4", "ttyS4", "ttyS4", false, "ttyS4"};

TEST(FollowPorts, ListThenOneLinePerChangeUntilStopped) {
    ScriptedMachine machine;
    sys::InventoryPlatform platform(machine);
    machine.ports = {S4};
    machine.script = {
        // Plugged in: three events in a burst, then quiet.
        [&] {
            machine.ports = {S4, USB0};
            return sys::WaitEnd::PortsChanged;
        },
        [] { return sys::WaitEnd::PortsChanged; },
        [] { return sys::WaitEnd::PortsChanged; },
        [] { return sys::WaitEnd::TimedOut; },
        // Nothing happens for an interval: listed, nothing printed.
        [] { return sys::WaitEnd::TimedOut; },
        // Unplugged on a machine without events: the interval's look finds it.
        [&] {
            machine.ports = {S4};
            return sys::WaitEnd::TimedOut;
        },
    };
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(probe::FollowPorts(platform, machine, false, out, err), 0);
    EXPECT_EQ(out.str(),
              "/dev/ttyS4\tttyS4\tttyS4\t0\tttyS4\n"
              "added\t/dev/ttyUSB0\tttyUSB0\tFT232R (ttyUSB0)\t1\tFT232R\n"
              "removed\t/dev/ttyUSB0\tttyUSB0\tFT232R (ttyUSB0)\t1\tFT232R\n");
    EXPECT_EQ(err.str(), "");
    // The first listing, one for the burst, one per quiet interval.
    EXPECT_EQ(machine.listings, 4);
    EXPECT_EQ(machine.waits, (std::vector<int>{probe::POLL_MS, PortTracker::SETTLE_MS,
                                               PortTracker::SETTLE_MS, PortTracker::SETTLE_MS,
                                               probe::POLL_MS, probe::POLL_MS, probe::POLL_MS}));
}

TEST(FollowPorts, JsonLinesNameTheEventAndEveryField) {
    PortList before;
    before.Append({"/dev/ttyUSB0", "ttyUSB0", "FT232R (ttyUSB0)", true, "FT232R"});
    PortList after;
    EXPECT_EQ(probe::FormatChangeJson(DiffPorts(before, after).at(0)),
              "{\"event\": \"removed\", \"port\": {\"devicePath\": \"/dev/ttyUSB0\", "
              "\"portName\": \"ttyUSB0\", \"friendlyName\": \"FT232R (ttyUSB0)\", "
              "\"isUsb\": true, \"description\": \"FT232R\"}}\n");
}

TEST(FollowPorts, ChangesAreRemovalsThenAdditionsAndARenameIsBoth) {
    PortList before;
    before.Append({"/dev/ttyS0", "ttyS0", "ttyS0", false, "ttyS0"});
    before.Append({"/dev/ttyUSB0", "ttyUSB0", "Old (ttyUSB0)", true, "Old"});
    before.Append({"/dev/ttyS1", "ttyS1", "ttyS1", false, "ttyS1"});
    PortList after;
    after.Append({"/dev/ttyACM0", "ttyACM0", "Pico (ttyACM0)", true, "Pico"});
    after.Append({"/dev/ttyS0", "ttyS0", "ttyS0", false, "ttyS0"});
    after.Append({"/dev/ttyUSB0", "ttyUSB0", "New (ttyUSB0)", true, "New"});
    std::vector<std::string> lines;
    for (const PortChange& change : DiffPorts(before, after))
        lines.push_back((change.added ? "+" : "-") + change.entry.friendlyName);
    EXPECT_EQ(lines, (std::vector<std::string>{"-Old (ttyUSB0)", "-ttyS1", "+Pico (ttyACM0)",
                                               "+New (ttyUSB0)"}));
    EXPECT_TRUE(DiffPorts(after, after).empty());
}

TEST(FollowPorts, AFailureKeepsTheListAndIsSaidOnce) {
    ScriptedMachine machine;
    fake::Platform failing;  // the Windows path, its version query failing when set
    struct Switching : sys::DiscoveryPlatform {
        sys::InventoryPlatform* good;
        fake::Platform* bad;
        bool fail = false;
        const sys::PortInventory* Inventory() override {
            return fail ? nullptr : good->Inventory();
        }
        sys::WindowsServices* Windows() override { return fail ? bad->Windows() : nullptr; }
    };
    sys::InventoryPlatform good(machine);
    failing.os.versionError = 5;
    Switching platform;
    platform.good = &good;
    platform.bad = &failing;
    machine.ports = {S4};
    machine.script = {
        [&] {
            platform.fail = true;
            return sys::WaitEnd::TimedOut;
        },
        [] { return sys::WaitEnd::TimedOut; },
        [&] {
            platform.fail = false;
            machine.ports = {S4, USB0};
            return sys::WaitEnd::TimedOut;
        },
    };
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(probe::FollowPorts(platform, machine, false, out, err), 0);
    EXPECT_EQ(out.str(),
              "/dev/ttyS4\tttyS4\tttyS4\t0\tttyS4\n"
              "added\t/dev/ttyUSB0\tttyUSB0\tFT232R (ttyUSB0)\t1\tFT232R\n");
    EXPECT_EQ(err.str(), "Could not get OS version. (err=5)\n");
}

TEST(FollowPorts, OutputThatCannotBeWrittenOrReadEndsItWithExitOne) {
    const std::pair<const char*, std::function<sys::WaitEnd(ScriptedMachine&, std::ostream&)>>
        ends[] = {{"a change that cannot be written",
                   [](ScriptedMachine& machine, std::ostream& out) {
                       out.setstate(std::ios::badbit);  // the reader has gone
                       machine.ports = {USB0};
                       return sys::WaitEnd::TimedOut;
                   }},
                  {"the reader gone while nothing changes",
                   [](ScriptedMachine&, std::ostream&) { return sys::WaitEnd::OutputGone; }}};
    for (const auto& [what, end] : ends) {
        SCOPED_TRACE(what);
        ScriptedMachine machine;
        sys::InventoryPlatform platform(machine);
        std::ostringstream out;
        std::ostringstream err;
        machine.script = {[&, end = end] { return end(machine, out); },
                          [] { return sys::WaitEnd::TimedOut; }};
        EXPECT_EQ(probe::FollowPorts(platform, machine, true, out, err), 1);
        EXPECT_EQ(err.str(), "marlox-probe: the output could not be written\n");
        EXPECT_EQ(machine.waits.size(), 1u);
    }
}

TEST(FollowPorts, CommandLine) {
    std::ostringstream out;
    std::ostringstream err;
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--watch"},
                                                  {"--list", "--watch", "--watch"},
                                                  {"--list", "--root"},
                                                  {"--list", "--watch", "COM3"},
                                                  {"--list", "--root", "/nonexistent"},
                                                  {"--list", "--watch", "--root", ""}}) {
        EXPECT_EQ(probe::RunWatchCommand(wrong, out, err), 1);
    }
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("usage: marlox-probe --list [--watch]"), std::string::npos);
    EXPECT_NE(err.str().find("--root: no such directory: '/nonexistent'"), std::string::npos);
    EXPECT_NE(err.str().find("--root: no such directory: ''"), std::string::npos);
}

}  // namespace
