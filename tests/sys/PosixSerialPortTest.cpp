// The termios port on real pseudo-terminal pairs: exclusive open against other programs and
// lock files, settings, the byte wait, discards and hang-up.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include "sys/posix/DeviceHolders.h"
#include "sys/posix/PosixSerialPort.h"
#include "sys/posix/TermiosSettings.h"
#include "sys/posix/UniqueFd.h"
#include "sys/posix/UucpLock.h"
#include "tests/sys/TtyHolder.h"

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

struct TempDir {  // the test's own, for the UUCP lock files or a /proc of its making
    char name[25] = "/tmp/marlox-locks-XXXXXX";
    const std::string path = ::mkdtemp(name);
    ~TempDir() { std::filesystem::remove_all(path); }
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

// The reason an open was refused, or "opened".
std::string Refusal(sys::SerialPorts& ports, const std::string& path) {
    const sys::OpenResult result = ports.OpenExclusive(path);
    return result.port ? "opened" : sys::OpenFailureText(result.failure);
}

pid_t DeadPid() {
    const pid_t gone = ::fork();
    if (gone == 0) _exit(0);
    ::waitpid(gone, nullptr, 0);
    return gone;
}

// What `run` returns in a child process (whose identity it may change).
std::string InChild(const std::function<std::string()>& run) {
    int out[2];
    if (::pipe(out) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        const std::string text = run();
        _exit(::write(out[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0
                                                                                             : 1);
    }
    ::close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t count; (count = ::read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(count));
    ::close(out[0]);
    ::waitpid(child, nullptr, 0);
    return text;
}

class ExclusiveOpen : public ::testing::Test {
protected:
    PtyPair pty;
    TempDir locks;
    const std::string lock = locks.path + "/LCK.." + sys::posix::UucpLockName(pty.Path());
    sys::PosixSerialPorts ports{locks.path};
};

class PosixSerialPortTest : public ExclusiveOpen {
protected:
    void SetUp() override {
        ASSERT_FALSE(pty.Path().empty());
        sys::OpenResult opened = ports.OpenExclusive(pty.Path());
        ASSERT_NE(opened.port, nullptr) << sys::OpenFailureText(opened.failure);
        port = std::move(opened.port);
        ASSERT_TRUE(port->SetByteWait(BYTE_WAIT_MS));
        ASSERT_TRUE(port->ApplyLineSettings(CONTROLLER_SETTINGS));
    }

    std::unique_ptr<sys::SerialPort> port;
};

TEST_F(PosixSerialPortTest, SecondOpenFailsWhileHeldAndSucceedsAfterClose) {
    EXPECT_EQ(ReadFile(lock), LockContent(::getpid()));
    EXPECT_EQ(Refusal(ports, pty.Path()),
              "locked by PID " + std::to_string(::getpid()) + " (" + lock + ")");
    port.reset();
    EXPECT_FALSE(std::filesystem::exists(lock));
    EXPECT_EQ(Refusal(ports, pty.Path()), "opened");
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
    TempDir locks;
    sys::PosixSerialPorts ports(locks.path);
    EXPECT_EQ(Refusal(ports, "/dev/marlox-no-such-port"), "no such device");
    // Terminals that stand for another, the user's own above all, are never taken over.
    for (const char* path : {"/dev/null", "/dev/tty", "/dev/console"})
        EXPECT_EQ(Refusal(ports, path), "not a serial port") << path;
    PtyPair pty;
    EXPECT_EQ(InChild([&] {
                  ::setsid();
                  const sys::UniqueFd controlling(::open(pty.Path().c_str(), O_RDWR));
                  return Refusal(ports, pty.Path());
              }),
              "not a serial port");
    EXPECT_TRUE(std::filesystem::is_empty(locks.path));
}

TEST_F(ExclusiveOpen, PlainOpenByAnotherProgramRefusesAtOnceNamingIt) {
    const testutil::TtyHolder holder(pty.Path());
    ASSERT_GT(holder.Pid(), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Refusal(ports, pty.Path()),
              "in use by sleep (PID " + std::to_string(holder.Pid()) + ")");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    // What the refused open took is given back: the lock file and the exclusive flag.
    EXPECT_TRUE(std::filesystem::is_empty(locks.path));
    sys::UniqueFd observer(::open(pty.Path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    int exclusive = 1;
    EXPECT_EQ(::ioctl(observer.Get(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
}

TEST_F(ExclusiveOpen, LiveLockRefusesAndAStaleOneIsReplacedUntilClose) {
    const pid_t live = ::getppid();
    const pid_t gone = DeadPid();
    std::ofstream(lock) << LockContent(live);
    EXPECT_EQ(Refusal(ports, pty.Path()),
              "locked by PID " + std::to_string(live) + " (" + lock + ")");
    EXPECT_EQ(ReadFile(lock), LockContent(live));

    std::ofstream(lock) << LockContent(gone);
    sys::OpenResult opened = ports.OpenExclusive(pty.Path());
    ASSERT_NE(opened.port, nullptr) << sys::OpenFailureText(opened.failure);
    std::unique_ptr<sys::SerialPort> port = std::move(opened.port);
    EXPECT_EQ(ReadFile(lock), LockContent(::getpid()));
    port.reset();
    EXPECT_FALSE(std::filesystem::exists(lock));
}

TEST_F(ExclusiveOpen, LockDirectoryThatCannotBeWrittenIsDoneWithout) {
    ::chmod(locks.path.c_str(), 0555);  // holds against anyone but root
    for (const std::string dir : {"/nonexistent", "/proc", locks.path.c_str()})
        EXPECT_NE(sys::PosixSerialPorts(dir).OpenExclusive(pty.Path()).port, nullptr) << dir;
}

TEST_F(ExclusiveOpen, LineIsLeftAsItWasFound) {
    const sys::UniqueFd observer(::open(pty.Path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    termios found{};
    ASSERT_EQ(::tcgetattr(observer.Get(), &found), 0);
    {
        const sys::OpenResult opened = ports.OpenExclusive(pty.Path());
        ASSERT_NE(opened.port, nullptr) << sys::OpenFailureText(opened.failure);
        ASSERT_TRUE(opened.port->ApplyLineSettings(CONTROLLER_SETTINGS));
    }
    termios left{};
    ASSERT_EQ(::tcgetattr(observer.Get(), &left), 0);
    EXPECT_EQ(std::tie(left.c_iflag, left.c_oflag, left.c_cflag, left.c_lflag),
              std::tie(found.c_iflag, found.c_oflag, found.c_cflag, found.c_lflag));  // speed too
}

TEST_F(ExclusiveOpen, ExclusiveFlagLeftBehindIsNamedAsSuch) {
    {  // a program set the flag and ended; the pty lives on through its far end
        const sys::UniqueFd ended(::open(pty.Path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
        ASSERT_EQ(::ioctl(ended.Get(), TIOCEXCL), 0);
    }
    ASSERT_EQ(::chmod(pty.Path().c_str(), 0666), 0);
    // The flag holds off users other than root only.
    EXPECT_EQ(
        InChild([&] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                return std::string("still root");
            return Refusal(ports, pty.Path());
        }),
        "the port's exclusive flag is still set, though no process this user can see holds it");
}

// Whatever another program or user left at the lock's path: nothing blocks, a lock that names
// nobody yet is honoured while fresh, and anything that is no live lock gives way to ours.
TEST_F(ExclusiveOpen, HostileLockPaths) {
    enum Outcome { REFUSED, REPLACED, KEPT_UNLOCKED };
    const auto put = [&](const std::string& text) { std::ofstream(lock) << text; };
    const auto node = [&](mode_t type) { ASSERT_EQ(::mknod(lock.c_str(), type | 0644, 0), 0); };
    const std::int32_t dead = DeadPid();
    const std::string target = locks.path + "/elsewhere";
    const struct {
        const char* what;
        std::function<void()> make;
        Outcome outcome;
    } cases[] = {
        {"FIFO", [&] { node(S_IFIFO); }, REFUSED},
        {"socket", [&] { node(S_IFSOCK); }, REFUSED},
        {"empty, being written", [&] { put(""); }, REFUSED},
        {"blank, being written", [&] { put("     "); }, REFUSED},
        {"empty, abandoned",
         [&] {
             put("");
             const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 60, 0}};
             ::utimensat(AT_FDCWD, lock.c_str(), times, 0);
         },
         REPLACED},
        {"garbage", [&] { put("not a PID\n"); }, REPLACED},
        {"binary, dead PID",
         [&] {
             put({reinterpret_cast<const char*>(&dead), 4});
         },
         REPLACED},
        {"huge", [&] { put(std::string(1 << 20, '7')); }, REPLACED},
        {"symlink to a live lock",
         [&] {
             std::ofstream(target) << LockContent(::getppid());
             ASSERT_EQ(::symlink(target.c_str(), lock.c_str()), 0);
         },
         REPLACED},
        {"directory", [&] { ::mkdir(lock.c_str(), 0755); }, KEPT_UNLOCKED},
    };
    for (const auto& c : cases) {
        c.make();
        const sys::OpenResult opened = ports.OpenExclusive(pty.Path());
        EXPECT_EQ(opened.port ? "opened" : sys::OpenFailureText(opened.failure),
                  c.outcome == REFUSED ? "locked by an unknown program (" + lock + ")" : "opened")
            << c.what;
        EXPECT_EQ(c.outcome == REPLACED, std::filesystem::is_regular_file(lock) &&
                                             ReadFile(lock) == LockContent(::getpid()))
            << c.what;
        EXPECT_EQ(c.outcome == KEPT_UNLOCKED, std::filesystem::is_directory(lock)) << c.what;
        std::filesystem::remove_all(lock);
    }
}

// Starts three openers of the port together, each a process of its own, and returns how many
// won (each holds what it won until all have decided); a winner whose lock file, where one is
// expected, did not name it for the whole time counts 100.
int RaceOpeners(const PtyPair& pty, const std::string& lockDir, const std::string& lock) {
    int start[2], decided[2], finish[2];
    if (::pipe(start) != 0 || ::pipe(decided) != 0 || ::pipe(finish) != 0) return -1;
    std::vector<pid_t> openers;
    for (int i = 0; i < 3; ++i) {
        openers.push_back(::fork());
        if (openers.back() != 0) continue;
        for (const int end : {pty.Master(), start[1], finish[1]})  // the far end is no rival
            ::close(end);
        char byte = 0;
        (void)!::read(start[0], &byte, 1);  // every write end closed: go
        sys::OpenResult opened = sys::PosixSerialPorts(lockDir).OpenExclusive(pty.Path());
        const bool won = opened.port != nullptr;
        const auto named = [&] {
            return lock.empty() || ReadFile(lock) == LockContent(::getpid());
        };
        bool faithful = !won || named();
        (void)!::write(decided[1], &byte, 1);
        (void)!::read(finish[0], &byte, 1);
        faithful = faithful && (!won || named());
        opened.port.reset();
        _exit(faithful ? won : 100);
    }
    for (const int end : {start[0], start[1], decided[1], finish[0]})
        ::close(end);
    char byte = 0;
    for (int i = 0; i < 3; ++i)
        (void)!::read(decided[0], &byte, 1);
    ::close(finish[1]);
    int winners = 0;
    for (const pid_t opener : openers) {
        int status = 0;
        ::waitpid(opener, &status, 0);
        winners += WEXITSTATUS(status);
    }
    ::close(decided[0]);
    return winners;
}

// On a lock left by an ended process, on a free port, and with no lock directory (flock alone
// decides): exactly one of three racing openers wins every time.
TEST_F(ExclusiveOpen, ExactlyOneOfThreeRacingOpenersWins) {
    const struct {
        const char* what;
        std::string dir;
        bool stale;
        int races;
    } rounds[] = {{"stale lock", locks.path, true, 300},
                  {"free", locks.path, false, 300},
                  {"no lock directory", "/nonexistent", false, 100}};
    for (const auto& round : rounds) {
        int wrong = 0;
        for (int race = 0; race < round.races; ++race) {
            if (round.stale) std::ofstream(lock) << LockContent(DeadPid());
            wrong += RaceOpeners(pty, round.dir, round.dir == locks.path ? lock : "") != 1;
        }
        EXPECT_EQ(wrong, 0) << round.what << ", races: " << round.races;
        EXPECT_FALSE(std::filesystem::exists(lock)) << round.what;
    }
}

// Only descriptors naming something under /dev are looked at, and none past the deadline.
TEST(DeviceHolders, LooksOnlyUnderDevAndNotPastTheDeadline) {
    PtyPair pty;
    TempDir proc;  // two processes holding the pty, one through a name outside /dev
    struct stat device {};
    ASSERT_EQ(::stat(pty.Path().c_str(), &device), 0);
    const std::string alias = proc.path + "/alias";
    ASSERT_EQ(::symlink(pty.Path().c_str(), alias.c_str()), 0);
    for (const auto& [pid, target] : {std::pair{"100", pty.Path()}, std::pair{"200", alias}}) {
        std::filesystem::create_directories(proc.path + "/" + pid + "/fd");
        std::ofstream(proc.path + "/" + pid + "/comm") << "holder" << pid << "\n";
        ASSERT_EQ(::symlink(target.c_str(), (proc.path + "/" + pid + "/fd/3").c_str()), 0);
    }
    const auto now = std::chrono::steady_clock::now();
    const std::vector<sys::PortHolder> holders =
        sys::posix::FindDeviceHolders(proc.path, device.st_rdev, 0, now + std::chrono::seconds(9));
    ASSERT_EQ(holders.size(), 1u);
    EXPECT_EQ(holders[0].pid, 100);
    EXPECT_EQ(holders[0].name, "holder100");
    EXPECT_TRUE(sys::posix::FindDeviceHolders(proc.path, device.st_rdev, 0, now).empty());
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
