// Faults of the controller and the port during TEST, through the real dialog: whatever happens,
// the program goes on, the port is closed afterwards, TEST is enabled again and each field shows
// what the link made of what arrived.
#include <QComboBox>
#include <QMessageBox>

#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"
#include "sys/SerialPort.h"
#include "tests/ui/linux/TestSystem.h"
#include "tests/ui/linux/TesterDriver.h"

namespace guitest {
namespace {

using namespace std::chrono_literals;

const std::vector<std::string> DUAL = {
    "--profile",        "dual",  "--engine-code",        "E1QT0001",
    "--version",        "V9.87", "--legacy-engine-code", "E2QT0002",
    "--legacy-version", "V6.54"};

std::vector<std::string> Dual(std::initializer_list<std::string> faults) {
    std::vector<std::string> args = DUAL;
    args.insert(args.end(), faults);
    return args;
}

struct Fields {
    std::string engineCode, version, protection, legacyEngineCode, legacyVersion;
    bool operator==(const Fields& other) const {
        return engineCode == other.engineCode && version == other.version &&
               protection == other.protection && legacyEngineCode == other.legacyEngineCode &&
               legacyVersion == other.legacyVersion;
    }
};

std::ostream& operator<<(std::ostream& out, const Fields& f) {
    return out << '[' << f.engineCode << '|' << f.version << '|' << f.protection << '|'
               << f.legacyEngineCode << '|' << f.legacyVersion << ']';
}

Fields Read(const DialogView& view) {
    return {view.Text(IDC_ENGINECODE), view.Text(IDC_VERSION), view.Text(IDC_PROTECTION),
            view.Text(IDC_LEGACY_ENGINECODE), view.Text(IDC_LEGACY_VERSION)};
}

const Fields ALL_NO_RESPOND = {"No respond", "No respond", "No respond", "No respond",
                               "No respond"};

dev_t DeviceOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_rdev : 0;
}

// A descriptor of this process still on the device (a pty whose other end is gone included).
bool HeldByThisProcess(dev_t device) {
    const std::unique_ptr<DIR, int (*)(DIR*)> fds(::opendir("/proc/self/fd"), ::closedir);
    if (!fds) {
        ADD_FAILURE() << "cannot list /proc/self/fd";
        return true;
    }
    while (const dirent* entry = ::readdir(fds.get())) {
        struct stat info {};
        const std::string path = std::string("/proc/self/fd/") + entry->d_name;
        if (entry->d_name[0] != '.' && ::stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode) &&
            info.st_rdev == device)
            return true;
    }
    return false;
}

// An exclusive open of the kind the program makes succeeds only when nobody holds the port.
bool OpenableExclusively(const std::string& path) {
    return sys::SystemSerialPorts().OpenExclusive(path).port != nullptr;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// Clicks TEST and returns the texts of the message boxes it opened, each closed with OK.
std::vector<std::string> ClickTestCollectingBoxes(const DialogView& view) {
    std::vector<std::string> texts;
    OnNextWindow closer([&](QWidget* window) {
        if (auto* box = qobject_cast<QMessageBox*>(window)) {
            texts.push_back(box->text().toStdString());
            box->accept();
        }
    });
    view.ClickTest();
    return texts;
}

TEST(FaultInjection, HangUpMidTestLeavesTheRestUnansweredAndThePortClosed) {
    TestPorts ports;
    // Half of the protection reply, then the controller closes the line and is gone.
    sim::SimProcess& sim = ports.AddSim("ttyS0", Dual({"--hang-up", "--fault-on", "AD"}));
    const dev_t pty = DeviceOf(sim.Path());
    ASSERT_NE(pty, 0u);
    RunTesterDialog([&](DialogView& view) {
        view.ClickTest();
        EXPECT_EQ(Read(view),
                  (Fields{"E1QT0001", "V9.87", "No respond", "No respond", "No respond"}));
        EXPECT_FALSE(view.Visible(IDC_PROTECTION_ICON));
        EXPECT_TRUE(view.Enabled(IDC_TEST));
        EXPECT_FALSE(HeldByThisProcess(pty));
    });
    EXPECT_EQ(sim.WaitForExit(3000ms), 0);
}

TEST(FaultInjection, PortNodeRemovedAfterDiscoveryGivesTheOpenFailureBoxOnly) {
    TestPorts ports;
    sim::SimProcess& sim = ports.AddSim("ttyS0", {"--profile", "protected"});
    RunTesterDialog([&](DialogView& view) {
        view.ClickTest();
        const Fields before = Read(view);
        ASSERT_EQ(before.protection, "Protected");

        ASSERT_TRUE(std::filesystem::remove(ports.DevRoot() + "/ttyS0"));
        EXPECT_EQ(ClickTestCollectingBoxes(view),
                  std::vector<std::string>{"Can not open COM Port\nno such device"});
        // Nothing changed: the fields and the icon of the last test stay, TEST is usable.
        EXPECT_EQ(Read(view), before);
        EXPECT_TRUE(view.Visible(IDC_PROTECTION_ICON));
        EXPECT_TRUE(view.Enabled(IDC_TEST));
        EXPECT_TRUE(OpenableExclusively(sim.Path()));
    });
    EXPECT_EQ(sim.RequestLines().size(), 5u);  // the first test only
}

TEST(FaultInjection, ControllerGoneAfterDiscoveryGivesTheOpenFailureBoxOnly) {
    TestPorts ports;
    sim::SimProcess& sim = ports.AddSim("ttyS0", {"--profile", "tarvex"});
    const std::string pty = sim.Path();
    RunTesterDialog([&](DialogView& view) {
        ASSERT_EQ(view.PortCombo()->count(), 1);
        sim.Signal(SIGTERM);
        ASSERT_EQ(sim.WaitForExit(3000ms), 0);
        // Its pty went with it, so the listed port's node leads nowhere. (Another program may
        // take the same pty number at once; then there is nothing to test here.)
        if (Exists(pty)) GTEST_SKIP() << pty << " was taken by another program";

        EXPECT_EQ(ClickTestCollectingBoxes(view),
                  std::vector<std::string>{"Can not open COM Port\nno such device"});
        EXPECT_EQ(Read(view), (Fields{}));
        EXPECT_TRUE(view.Enabled(IDC_TEST));
    });
}

TEST(FaultInjection, GarbageFloodForTheWholeTestIsNoResponseEverywhere) {
    TestPorts ports;
    // 55 AA without end: every frame read from it fails its checksum, wherever it starts.
    sim::SimProcess& sim = ports.AddSim("ttyS0", {"--profile", "dual", "--flood"});
    const dev_t pty = DeviceOf(sim.Path());
    RunTesterDialog([&](DialogView& view) {
        view.ClickTest();
        EXPECT_EQ(Read(view), ALL_NO_RESPOND);
        EXPECT_FALSE(view.Visible(IDC_PROTECTION_ICON));
        EXPECT_TRUE(view.Enabled(IDC_TEST));
        EXPECT_FALSE(HeldByThisProcess(pty));
        EXPECT_TRUE(OpenableExclusively(sim.Path()));
    });
    EXPECT_EQ(sim.RequestLines().size(), 5u);  // every inquiry went out through the flood
}

TEST(FaultInjection, RepliesWith253DataBytesFillOnlyEachTextWindow) {
    TestPorts ports;
    // F3, AD and 6B answer with their data padded by '#' to 253 bytes, of which 128 reach the
    // reply area; F5 and 6C answer short after them.
    sim::SimProcess& sim = ports.AddSim(
        "ttyS0", {"--profile", "dual", "--long-reply", "--fault-on", "F3", "--fault-on", "AD",
                  "--fault-on", "6B", "--engine-code", "E1QT", "--version", "V9",
                  "--legacy-engine-code", "E2QT", "--legacy-version", "V6"});
    const dev_t pty = DeviceOf(sim.Path());
    RunTesterDialog([&](DialogView& view) {
        view.ClickTest();
        // A long text fills its window; a short one after it shows nothing of it. Eight spaces
        // followed by '#' instead of a zero is a protected answer.
        EXPECT_EQ(Read(view), (Fields{"E1QT####", "V9", "Protected", "E2QT####", "V6"}));
        EXPECT_TRUE(view.Visible(IDC_PROTECTION_ICON));
        EXPECT_TRUE(view.Enabled(IDC_TEST));
        EXPECT_FALSE(HeldByThisProcess(pty));
        EXPECT_TRUE(OpenableExclusively(sim.Path()));
    });
}

}  // namespace
}  // namespace guitest
