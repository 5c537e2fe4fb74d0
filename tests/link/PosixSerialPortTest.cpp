// The termios port on real pseudo-terminal pairs: exclusive open against other programs and
// lock files, settings, the byte wait, discards and hang-up.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "sys/posix/PosixSerialPort.h"
#include "sys/posix/TermiosSettings.h"
#include "sys/posix/UniqueFd.h"
#include "sys/posix/UucpLock.h"
#include "tests/link/TtyHolder.h"

namespace {

constexpr sys::LineSettings CONTROLLER_SETTINGS{19200, sys::Parity::Even, 8, sys::StopBits::One};
constexpr std::uint32_t BYTE_WAIT_MS = 101;

// The controller's side of a pty pair; the test opens the other side by path.
class PtyPair {
public:
    PtyPair() : m_master(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
        if (m_master.Valid() && ::grantpt(m_master.Get()) == 0 && ::unlockpt(m_master.Get()) == 0)
            m_path = ::ptsname(m_master.Get());
    }
    const std::string& Path() const { return m_path; }
    int Master() const { return m_master.Get(); }
    void HangUp() { m_master.Reset(); }
    std::string ReadAvailable() {
        std::string bytes;
        pollfd entry{m_master.Get(), POLLIN, 0};
        char buffer[64];
        while (::poll(&entry, 1, 200) > 0) {
            const ssize_t count = ::read(m_master.Get(), buffer, sizeof buffer);
            if (count <= 0) break;
            bytes.append(buffer, static_cast<std::size_t>(count));
        }
        return bytes;
    }

private:
    sys::UniqueFd m_master;
    std::string m_path;
};

struct LockDir {  // the test's own, for the UUCP lock files
    char name[25] = "/tmp/marlox-locks-XXXXXX";
    const std::string path = ::mkdtemp(name);
    ~LockDir() { std::filesystem::remove_all(path); }
};

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), {}};
}

std::string LockContent(pid_t pid) {  // HDB: ten characters right-aligned and a newline
    char text[16];
    std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid));
    return text;
}

class ExclusiveOpen : public ::testing::Test {
protected:
    PtyPair pty;
    LockDir locks;
    const std::string lock = locks.path + "/LCK.." + sys::posix::UucpLockName(pty.Path());
    sys::PosixSerialPorts ports{locks.path};
};

class PosixSerialPortTest : public ExclusiveOpen {
protected:
    void SetUp() override {
        ASSERT_FALSE(pty.Path().empty());
        port = ports.OpenExclusive(pty.Path());
        ASSERT_NE(port, nullptr) << ports.LastOpenError();
        ASSERT_TRUE(port->SetByteWait(BYTE_WAIT_MS));
        ASSERT_TRUE(port->ApplyLineSettings(CONTROLLER_SETTINGS));
    }

    std::unique_ptr<sys::SerialPort> port;
};

TEST_F(PosixSerialPortTest, SecondOpenFailsWhileHeldAndSucceedsAfterClose) {
    EXPECT_EQ(ReadFile(lock), LockContent(::getpid()));
    EXPECT_EQ(ports.OpenExclusive(pty.Path()), nullptr);
    EXPECT_EQ(ports.LastOpenError(),
              "locked by PID " + std::to_string(::getpid()) + " (" + lock + ")");
    port.reset();
    EXPECT_FALSE(std::filesystem::exists(lock));
    EXPECT_NE(ports.OpenExclusive(pty.Path()), nullptr) << ports.LastOpenError();
}

TEST_F(PosixSerialPortTest, CloseLiftsTheExclusiveFlagThatAPtyWouldKeep) {
    // Root opens past the flag anyway; ask the tty itself, as a non-root user's open would.
    sys::UniqueFd observer(::open(pty.Path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    ASSERT_TRUE(observer.Valid());
    int exclusive = 0;
    ASSERT_EQ(::ioctl(observer.Get(), TIOCGEXCL, &exclusive), 0);
    EXPECT_NE(exclusive, 0);  // held: the flag is set
    port.reset();
    ASSERT_EQ(::ioctl(observer.Get(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
}

TEST_F(PosixSerialPortTest, SettingsReachTheTerminal) {
    sys::UniqueFd observer(::open(pty.Path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    ASSERT_TRUE(observer.Valid());
    termios terminal{};
    ASSERT_EQ(::tcgetattr(observer.Get(), &terminal), 0);
    EXPECT_EQ(::cfgetospeed(&terminal), B19200);
    EXPECT_EQ(terminal.c_cflag & (CLOCAL | CREAD | CSTOPB | CRTSCTS), CLOCAL | CREAD);
    EXPECT_EQ(terminal.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_EQ(terminal.c_lflag & (ICANON | ECHO), 0u);
}

TEST_F(PosixSerialPortTest, SettingsCanBeAppliedAgain) {
    // The pty dropped the parity the first time; asking again changes nothing and must pass.
    EXPECT_TRUE(port->ApplyLineSettings(CONTROLLER_SETTINGS));
    using sys::Parity;
    using sys::StopBits;
    EXPECT_FALSE(port->ApplyLineSettings({19200, static_cast<Parity>(42), 8, StopBits::One}));
    EXPECT_FALSE(port->ApplyLineSettings({12345, Parity::None, 8, StopBits::One}));  // no B12345
    EXPECT_FALSE(port->ApplyLineSettings({19200, Parity::None, 8, StopBits::OneAndHalf}));
    EXPECT_TRUE(port->ApplyLineSettings(CONTROLLER_SETTINGS));
}

TEST_F(PosixSerialPortTest, WritesReachTheOtherSideUnchanged) {
    const std::uint8_t request[] = {0xF3, 0x02, 0x0A, 0x0D, 0x11};  // no CR or XON handling
    ASSERT_TRUE(port->WriteAndFlush(request, sizeof request));
    EXPECT_EQ(pty.ReadAvailable(), std::string("\xF3\x02\x0A\x0D\x11", 5));
}

TEST_F(PosixSerialPortTest, ReadsBytesAsTheyArriveAndWaitsOutTheTimeout) {
    ASSERT_EQ(::write(pty.Master(), "\x0D\x03", 2), 2);
    std::uint8_t byte = 0;
    ASSERT_EQ(port->ReadByte(byte), sys::ReadStatus::Byte);
    EXPECT_EQ(byte, 0x0D);
    ASSERT_EQ(port->ReadByte(byte), sys::ReadStatus::Byte);
    EXPECT_EQ(byte, 0x03);

    // Only a lower bound: an empty read must have waited, however loaded the machine is.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port->ReadByte(byte), sys::ReadStatus::Empty);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(BYTE_WAIT_MS));
}

TEST_F(PosixSerialPortTest, ByteWaitIsTheOneSetAndNeverZero) {
    EXPECT_FALSE(port->SetByteWait(0));
    ASSERT_TRUE(port->SetByteWait(180));
    std::uint8_t byte = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port->ReadByte(byte), sys::ReadStatus::Empty);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(180));
}

TEST_F(PosixSerialPortTest, EitherDiscardDropsInputThatArrived) {
    for (const sys::DiscardScope scope : {sys::DiscardScope::Input, sys::DiscardScope::All}) {
        ASSERT_EQ(::write(pty.Master(), "stale", 5), 5);
        ::poll(nullptr, 0, 50);  // let the pty pass the bytes on
        port->Discard(scope);
        std::uint8_t byte = 0;
        EXPECT_EQ(port->ReadByte(byte), sys::ReadStatus::Empty)
            << (scope == sys::DiscardScope::All ? "all" : "input");
    }
}

TEST_F(PosixSerialPortTest, HangUpIsAFailedReadNotSilence) {
    ASSERT_EQ(::write(pty.Master(), "A", 1), 1);
    ::poll(nullptr, 0, 50);
    pty.HangUp();
    std::uint8_t byte = 0;
    // The byte sent before the hang-up may or may not survive it; the end must be a failure.
    sys::ReadStatus status = port->ReadByte(byte);
    if (status == sys::ReadStatus::Byte) status = port->ReadByte(byte);
    EXPECT_EQ(status, sys::ReadStatus::Failed);
    port->ClearError();
}

TEST(PosixSerialPorts, OpenFailsOnMissingPathsAndNonTerminals) {
    LockDir locks;
    sys::PosixSerialPorts ports(locks.path);
    EXPECT_EQ(ports.OpenExclusive("/dev/marlox-no-such-port"), nullptr);
    EXPECT_EQ(ports.LastOpenError(), "no such device");
    EXPECT_EQ(ports.OpenExclusive("/dev/null"), nullptr);
    EXPECT_EQ(ports.LastOpenError(), "not a serial port");
    EXPECT_TRUE(std::filesystem::is_empty(locks.path));
}

TEST_F(ExclusiveOpen, PlainOpenByAnotherProgramRefusesAtOnceNamingIt) {
    const testutil::TtyHolder holder(pty.Path());
    ASSERT_GT(holder.Pid(), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ports.OpenExclusive(pty.Path()), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    EXPECT_EQ(ports.LastOpenError(), "in use by sleep (PID " + std::to_string(holder.Pid()) + ")");
    // What the refused open took is given back: the lock file and the exclusive flag.
    EXPECT_TRUE(std::filesystem::is_empty(locks.path));
    sys::UniqueFd observer(::open(pty.Path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    int exclusive = 1;
    EXPECT_EQ(::ioctl(observer.Get(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
}

TEST_F(ExclusiveOpen, LiveLockRefusesAndAStaleOneIsReplacedUntilClose) {
    const pid_t live = ::getppid();
    const pid_t gone = ::fork();
    if (gone == 0) _exit(0);
    ::waitpid(gone, nullptr, 0);
    std::ofstream(lock) << LockContent(live);
    EXPECT_EQ(ports.OpenExclusive(pty.Path()), nullptr);
    EXPECT_EQ(ports.LastOpenError(), "locked by PID " + std::to_string(live) + " (" + lock + ")");
    EXPECT_EQ(ReadFile(lock), LockContent(live));

    std::ofstream(lock) << LockContent(gone);
    std::unique_ptr<sys::SerialPort> port = ports.OpenExclusive(pty.Path());
    ASSERT_NE(port, nullptr) << ports.LastOpenError();
    EXPECT_EQ(ReadFile(lock), LockContent(::getpid()));
    port.reset();
    EXPECT_FALSE(std::filesystem::exists(lock));
}

TEST_F(ExclusiveOpen, LockDirectoryThatCannotBeWrittenIsDoneWithout) {
    ::chmod(locks.path.c_str(), 0555);  // holds against anyone but root
    for (const std::string dir : {"/nonexistent", "/proc", locks.path.c_str()})
        EXPECT_NE(sys::PosixSerialPorts(dir).OpenExclusive(pty.Path()), nullptr) << dir;
}

TEST(PosixSerialPorts, RecognisesPseudoTerminals) {
    PtyPair pty;
    sys::UniqueFd slave(::open(pty.Path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    ASSERT_TRUE(slave.Valid());
    EXPECT_TRUE(sys::IsPseudoTerminal(slave.Get()));
    sys::UniqueFd null(::open("/dev/null", O_RDWR | O_CLOEXEC));
    EXPECT_FALSE(sys::IsPseudoTerminal(null.Get()));
}

}  // namespace
