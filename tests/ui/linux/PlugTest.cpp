// Adapters plugged in and out while the Qt dialog is open: the kernel's tty events (fed through a
// socket the test writes to) and, on a machine without events, the list being opened.
#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QThread>

#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "afx/qt/QtBackend.h"
#include "res/resource.h"
#include "ui/PortRefresh.h"
#include "tests/ui/linux/TestSystem.h"
#include "tests/ui/linux/TesterDriver.h"

namespace guitest {
namespace {

// The kernel's side of the uevent socket that every device watch opens while this lives.
class FakeKernelEvents {
public:
    explicit FakeKernelEvents(bool delivers = true) {
        int ends[2];
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends), 0);
        m_kernel = sys::UniqueFd(ends[0]);
        m_watched = sys::UniqueFd(ends[1]);
        const int watched = m_watched.Get();
        afx::qt::SetUeventOpener([watched, delivers] {
            return sys::posix::UeventSocket::FromDatagrams(
                sys::UniqueFd(delivers ? ::dup(watched) : -1));
        });
    }
    ~FakeKernelEvents() { afx::qt::SetUeventOpener({}); }

    // What the kernel sends when tty `name` comes (add) or goes (remove).
    void Tty(const std::string& action, const std::string& name) {
        std::string datagram = action + "@/devices/usb1/1-1/1-1:1.0/" + name + "/tty/" + name;
        for (const std::string& field :
             {"ACTION=" + action, std::string("SUBSYSTEM=tty"), "DEVNAME=" + name})
            datagram += '\0' + field;
        datagram += '\0';
        ASSERT_EQ(::send(m_kernel.Get(), datagram.data(), datagram.size(), 0),
                  static_cast<ssize_t>(datagram.size()));
    }

private:
    sys::UniqueFd m_kernel;
    sys::UniqueFd m_watched;
};

TEST(PortsFollowTheMachine, TtyEventsRefillTheListOnceWithTheSelectionKept) {
    FakeKernelEvents kernel;
    TestPorts ports;
    ports.AddLeadingSim("Simulated controller (demo)", {"--profile", "tarvex"});
    ports.Tree().AddUsbAdapter("ttyUSB1", "1-2", "CP2102 USB to UART");
    RunTesterDialog([&](DialogView& view) {
        QComboBox* combo = view.PortCombo();
        ASSERT_EQ(view.PortEntries(),
                  (QStringList{"Simulated controller (demo)", "CP2102 USB to UART (ttyUSB1)"}));
        combo->setCurrentIndex(1);

        // Plugged in: the USB device and its interface come first (not ttys), then the tty.
        ports.Tree().AddUsbAdapter("ttyUSB0", "1-1", "FT232R USB UART");
        QElapsedTimer sinceEvent;
        sinceEvent.start();
        kernel.Tty("add", "ttyUSB0");
        ASSERT_TRUE(WaitFor([&] { return combo->count() == 3; }, 3000));
        const qint64 plugInMs = sinceEvent.elapsed();
        EXPECT_EQ(view.PortEntries(),
                  (QStringList{"Simulated controller (demo)", "FT232R USB UART (ttyUSB0)",
                               "CP2102 USB to UART (ttyUSB1)"}));
        EXPECT_EQ(combo->currentIndex(), 2) << "still on ttyUSB1";

        // Unplugged, selected: the first entry (the demo's controller) is selected.
        combo->setCurrentIndex(1);
        ports.Tree().RemoveTty("ttyUSB0");
        sinceEvent.restart();
        kernel.Tty("remove", "ttyUSB0");
        ASSERT_TRUE(WaitFor([&] { return combo->count() == 2; }, 3000));
        const qint64 unplugMs = sinceEvent.elapsed();
        EXPECT_EQ(combo->currentIndex(), 0);
        std::printf("event to refilled list: plug-in %lld ms, unplug %lld ms\n",
                    static_cast<long long>(plugInMs), static_cast<long long>(unplugMs));
    });
}

TEST(PortsFollowTheMachine, AnEventDuringATestWaitsForItsEnd) {
    FakeKernelEvents kernel;
    TestPorts ports;
    ports.AddSim("ttyS0", {"--profile", "tarvex"});
    RunTesterDialog([&](DialogView& view) {
        QComboBox* combo = view.PortCombo();
        ASSERT_EQ(combo->count(), 1);
        ports.Tree().AddUsbAdapter("ttyUSB0", "1-1", "FT232R USB UART");
        kernel.Tty("add", "ttyUSB0");
        QTest::qWait(50);  // the event is taken: the burst's wait starts
        // The wait ends while nothing is processed, so its tick comes when the test first pumps.
        QThread::msleep(2 * PortTracker::SETTLE_MS);
        auto* test = qobject_cast<QPushButton*>(view.Control(IDC_TEST));
        ASSERT_NE(test, nullptr);
        test->click();  // returns when the test has run
        EXPECT_NE(view.Text(IDC_PROTECTION), "");
        EXPECT_EQ(combo->count(), 1) << "listed while the test ran";
        EXPECT_TRUE(WaitFor([&] { return combo->count() == 2; }, 3000)) << "not after it";
    });
}

TEST(PortsFollowTheMachine, WithoutEventsOpeningTheListListsAgain) {
    FakeKernelEvents noEvents(false);
    TestPorts ports;
    ports.Tree().AddUart("ttyS4", 4);
    RunTesterDialog([&](DialogView& view) {
        QComboBox* combo = view.PortCombo();
        ports.Tree().AddUsbAdapter("ttyUSB0", "1-1", "FT232R USB UART");
        EXPECT_EQ(combo->count(), 1);

        combo->showPopup();
        // Refilled before the list shows, with the selection kept on ttyS4.
        EXPECT_EQ(view.PortEntries(),
                  (QStringList{"Serial port (ttyS4)", "FT232R USB UART (ttyUSB0)"}));
        EXPECT_EQ(combo->currentIndex(), 0);
        combo->hidePopup();
    });
}

}  // namespace
}  // namespace guitest
