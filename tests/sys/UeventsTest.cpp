// The kernel's device events: which datagrams mean "tty devices came or went", a socket that
// reads them without trusting anyone but the kernel, and the command line's wait on them.
#include <linux/netlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "sys/posix/PosixPortEventWait.h"
#include "sys/posix/Uevents.h"

namespace {

using sys::UniqueFd;
using sys::posix::IsTtyUevent;
using sys::posix::UeventSocket;

std::string Event(std::initializer_list<const char*> fields) {
    std::string datagram;
    for (const char* field : fields) {
        datagram += field;
        datagram += '\0';
    }
    return datagram;
}

const std::string TTY_ADD =
    Event({"add@/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0/tty/ttyUSB0",
           "ACTION=add", "DEVPATH=/devices/pci0000:00/usb1/1-1/1-1:1.0/ttyUSB0/tty/ttyUSB0",
           "SUBSYSTEM=tty", "MAJOR=188", "MINOR=0", "DEVNAME=ttyUSB0", "SEQNUM=4242"});

TEST(Uevents, OnlyATtyComingGoingOrRenamedCounts) {
    struct Case {
        const char* what;
        std::string datagram;
        bool tty;
    };
    const Case cases[] = {
        {"tty added", TTY_ADD, true},
        {"tty removed", Event({"remove@/devices/x/tty/ttyACM0", "ACTION=remove", "SUBSYSTEM=tty"}),
         true},
        {"tty renamed", Event({"move@/devices/x/tty/ttyS1", "SUBSYSTEM=tty"}), true},
        {"last field without its NUL",
         [] {
             std::string datagram = Event({"add@/devices/x/tty/ttyUSB1", "SUBSYSTEM=tty"});
             datagram.pop_back();
             return datagram;
         }(),
         true},
        {"usb device, not a tty", Event({"add@/devices/usb1/1-1", "SUBSYSTEM=usb"}), false},
        {"usb-serial port, not yet its tty",
         Event({"add@/devices/x/ttyUSB0", "SUBSYSTEM=usb-serial"}), false},
        {"tty changed, not come or gone", Event({"change@/devices/x/tty/ttyS0", "SUBSYSTEM=tty"}),
         false},
        {"subsystem only as a prefix", Event({"add@/devices/x", "SUBSYSTEM=ttyX"}), false},
        {"subsystem in the header only", Event({"add@/SUBSYSTEM=tty"}), false},
        {"libudev's own format", Event({"libudev", "SUBSYSTEM=tty"}), false},
        {"empty", std::string(), false},
        {"NULs only", std::string(16, '\0'), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsTtyUevent(c.datagram.data(), c.datagram.size()), c.tty) << c.what;
    }
    // Bounded by the size given: a SUBSYSTEM field just past it is not read.
    const std::string cut = Event({"add@/devices/x", "SUBSYSTEM=tty"});
    EXPECT_FALSE(IsTtyUevent(cut.data(), cut.find("SUBSYSTEM")));
}

class FakeKernel {
public:
    FakeKernel() {
        int ends[2];
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK, 0, ends), 0);
        m_sender = UniqueFd(ends[0]);
        socket = UeventSocket::FromDatagrams(UniqueFd(ends[1]));
    }
    void Send(const std::string& datagram) {
        ASSERT_EQ(::send(m_sender.Get(), datagram.data(), datagram.size(), 0),
                  static_cast<ssize_t>(datagram.size()));
    }

    UeventSocket socket = UeventSocket::FromDatagrams(UniqueFd());

private:
    UniqueFd m_sender;
};

TEST(Uevents, ASocketReportsWhetherAnyWaitingEventWasATty) {
    FakeKernel kernel;
    EXPECT_FALSE(kernel.socket.ReadTtyEvents()) << "nothing waiting";

    kernel.Send(Event({"add@/devices/usb1/1-1", "SUBSYSTEM=usb"}));
    EXPECT_FALSE(kernel.socket.ReadTtyEvents());

    kernel.Send(Event({"add@/devices/usb1/1-1", "SUBSYSTEM=usb"}));
    kernel.Send(TTY_ADD);
    kernel.Send(Event({"bind@/devices/usb1/1-1", "SUBSYSTEM=usb"}));
    EXPECT_TRUE(kernel.socket.ReadTtyEvents());
    EXPECT_FALSE(kernel.socket.ReadTtyEvents()) << "all three were read";

    // Longer than any uevent: cut off, and not believed.
    kernel.Send(Event({"add@/devices/x", std::string(9000, 'a').c_str(), "SUBSYSTEM=tty"}));
    EXPECT_FALSE(kernel.socket.ReadTtyEvents());
}

TEST(Uevents, TheKernelSocketBelievesNoOtherSender) {
    UeventSocket socket = UeventSocket::OpenKernel();
    if (!socket.Valid()) GTEST_SKIP() << "no uevent socket here";
    sockaddr_nl self{};
    socklen_t length = sizeof self;
    ASSERT_EQ(::getsockname(socket.Fd(), reinterpret_cast<sockaddr*>(&self), &length), 0);

    // Another process's socket sends a tty event straight to ours.
    UniqueFd forger(::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_KOBJECT_UEVENT));
    ASSERT_TRUE(forger.Valid());
    sockaddr_nl to{};
    to.nl_family = AF_NETLINK;
    to.nl_pid = self.nl_pid;
    if (::sendto(forger.Get(), TTY_ADD.data(), TTY_ADD.size(), 0,
                 reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0)
        GTEST_SKIP() << "this user may not send on the uevent family";
    ::usleep(10000);
    EXPECT_FALSE(socket.ReadTtyEvents());
}

// A generous bound: each wait below ends long before it unless it misses what it waits for.
constexpr int LONG_WAIT_MS = 5000;

TEST(PortEventWait, AnotherDevicesEventDoesNotEndTheWait) {
    FakeKernel kernel;
    kernel.Send(Event({"bind@/devices/usb1/1-1", "SUBSYSTEM=usb"}));
    const auto wait = sys::posix::OpenPortEventWait(std::move(kernel.socket), -1);
    // The tty's event comes after the USB one has been read, as a burst's do.
    std::thread tty([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        kernel.Send(TTY_ADD);
    });
    EXPECT_EQ(wait->Wait(LONG_WAIT_MS), sys::WaitEnd::PortsChanged);
    tty.join();
}

TEST(PortEventWait, EndsWhenTheOutputsReaderGoes) {
    struct Case {
        const char* what;
        bool socket;  // else a pipe
        bool readerGone;
        sys::WaitEnd end;
    };
    const Case cases[] = {{"pipe, read", false, false, sys::WaitEnd::TimedOut},
                          {"pipe, reader gone", false, true, sys::WaitEnd::OutputGone},
                          {"socket, reader gone", true, true, sys::WaitEnd::OutputGone}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int ends[2];
        ASSERT_EQ(c.socket ? ::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) : ::pipe(ends), 0);
        UniqueFd reader(ends[0]);
        const UniqueFd writer(ends[1]);
        if (c.readerGone) reader.Reset();
        const auto wait =
            sys::posix::OpenPortEventWait(UeventSocket::FromDatagrams(UniqueFd()), writer.Get());
        EXPECT_EQ(wait->Wait(c.readerGone ? LONG_WAIT_MS : 10), c.end);
    }
}

}  // namespace
