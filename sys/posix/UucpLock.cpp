#include "sys/posix/UucpLock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

#include "sys/posix/UniqueFd.h"

namespace sys::posix {
namespace {

constexpr int LOCK_ATTEMPTS = 3;  // a program outside the protocol may take the name meanwhile
// A lock file that names no PID may be one its writer has created and not yet filled.
constexpr std::time_t FRESH_LOCK_SECONDS = 5;
// How long to wait for the other processes changing lock files in the same directory.
constexpr auto DIRECTORY_WAIT = std::chrono::seconds(1);

bool Alive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// Holds a flock on the lock directory: processes that take and remove their locks under it
// never see each other's half-done steps. A directory held for longer than the wait is done
// without; flock on the device still decides then.
class DirectoryGuard {
public:
    explicit DirectoryGuard(const std::string& dir)
        : m_fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        const auto deadline = std::chrono::steady_clock::now() + DIRECTORY_WAIT;
        while (m_fd.Valid() && ::flock(m_fd.Get(), LOCK_EX | LOCK_NB) != 0 &&
               errno == EWOULDBLOCK && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

private:
    UniqueFd m_fd;  // closing it lifts the flock
};

struct LockEntry {
    enum class State {
        Absent,
        Live,        // owner: a running process
        Stale,       // anything a new lock may replace
        Unreadable,  // held by a writer not done yet, or something no reader should open
        Unknown      // the directory cannot be searched
    } state;
    pid_t owner = 0;
    struct stat status {};
};

// The PID a lock file's content names, 0 when none: ASCII as HDB writes it, or the four-byte
// binary form of older programs.
pid_t OwnerIn(const char* text, ssize_t length) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end != text && (*end == '\n' || *end == '\0') && value > 0 && value <= INT32_MAX)
        return static_cast<pid_t>(value);
    if (length == sizeof(std::int32_t)) {
        std::int32_t binary = 0;
        std::memcpy(&binary, text, sizeof binary);
        return binary > 0 ? binary : 0;
    }
    return 0;
}

bool Fresh(const struct stat& status) {
    const std::time_t age = std::time(nullptr) - status.st_mtime;
    return age > -FRESH_LOCK_SECONDS && age < FRESH_LOCK_SECONDS;
}

// What is at the lock's path. Only a regular file is opened, never blocking and never through a
// symlink, and no more than a PID's worth is read.
LockEntry Inspect(const std::string& path) {
    LockEntry entry{LockEntry::State::Stale};
    if (::lstat(path.c_str(), &entry.status) != 0) {
        entry.state = errno == ENOENT ? LockEntry::State::Absent : LockEntry::State::Unknown;
        return entry;
    }
    const mode_t type = entry.status.st_mode & S_IFMT;
    // A symlink or a directory is no program's lock: replaced where it can be.
    if (type == S_IFLNK || type == S_IFDIR) return entry;
    if (type != S_IFREG) {
        entry.state = LockEntry::State::Unreadable;
        return entry;
    }
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    char text[32] = {};
    ssize_t length = -1;
    if (fd.Valid() && ::fstat(fd.Get(), &opened) == 0 && S_ISREG(opened.st_mode) &&
        opened.st_ino == entry.status.st_ino && opened.st_dev == entry.status.st_dev)
        length = ::read(fd.Get(), text, sizeof text - 1);
    const bool blank = length <= 0 || std::all_of(text, text + length, [](char c) {
                           return c == ' ' || c == '\n' || c == '\0';
                       });
    if (blank) {
        if (Fresh(entry.status)) entry.state = LockEntry::State::Unreadable;
        return entry;
    }
    entry.owner = OwnerIn(text, length);
    if (entry.owner > 0 && Alive(entry.owner)) entry.state = LockEntry::State::Live;
    return entry;
}

// Puts a lock file with this process's PID at `path`, complete or not at all: the content goes
// into a temporary file in the same directory, which then takes the lock's name. link() does
// not overwrite, for a path nothing is at; rename() replaces a stale entry in one step.
std::optional<struct stat> PlaceLockFile(const std::string& dir, const std::string& path,
                                         bool replace) {
    std::string temp = dir + "/LTMP.XXXXXX";
    UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd.Valid()) return std::nullopt;
    char content[16];
    const int length =
        std::snprintf(content, sizeof content, "%10ld\n", static_cast<long>(::getpid()));
    const bool written = ::write(fd.Get(), content, static_cast<std::size_t>(length)) == length &&
                         ::fchmod(fd.Get(), 0644) == 0;
    struct stat info {};
    const bool placed =
        written && ::fstat(fd.Get(), &info) == 0 &&
        (replace ? ::rename(temp.c_str(), path.c_str()) : ::link(temp.c_str(), path.c_str())) == 0;
    const int error = written ? errno : EIO;
    fd.Reset();
    if (!placed || !replace) ::unlink(temp.c_str());
    if (!placed) {
        errno = error;
        return std::nullopt;
    }
    return info;
}

}  // namespace

std::string UucpLockName(const std::string& devicePath) {
    const std::unique_ptr<char, void (*)(void*)> resolved(::realpath(devicePath.c_str(), nullptr),
                                                          std::free);
    if (!resolved) return {};
    std::string name = resolved.get();
    const std::string dev = "/dev/";
    if (name.compare(0, dev.size(), dev) == 0)
        name.erase(0, dev.size());
    else
        name.erase(0, name.rfind('/') + 1);
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

UucpLock::UucpLock(std::string dir, std::string path, dev_t device, ino_t inode)
    : m_dir(std::move(dir)), m_path(std::move(path)), m_device(device), m_inode(inode) {}

UucpLock::~UucpLock() { Release(); }

UucpLock::UucpLock(UucpLock&& other) noexcept
    : m_dir(std::exchange(other.m_dir, {})),
      m_path(std::exchange(other.m_path, {})),
      m_device(other.m_device),
      m_inode(other.m_inode) {}

UucpLock& UucpLock::operator=(UucpLock&& other) noexcept {
    if (this != &other) {
        Release();
        m_dir = std::exchange(other.m_dir, {});
        m_path = std::exchange(other.m_path, {});
        m_device = other.m_device;
        m_inode = other.m_inode;
    }
    return *this;
}

void UucpLock::Release() {
    if (m_path.empty()) return;
    // A lock someone took over is theirs now: only our own file with our own PID goes.
    {
        const DirectoryGuard guard(m_dir);
        const LockEntry entry = Inspect(m_path);
        if (entry.state == LockEntry::State::Live && entry.owner == ::getpid() &&
            entry.status.st_dev == m_device && entry.status.st_ino == m_inode)
            ::unlink(m_path.c_str());
    }
    m_path.clear();
}

UucpLockAttempt UucpLockAttempt::Take(const std::string& dir, const std::string& name) {
    UucpLockAttempt attempt;
    attempt.path = dir + "/LCK.." + name;
    if (name.empty()) return attempt;
    const DirectoryGuard guard(dir);
    for (int round = 0; round < LOCK_ATTEMPTS; ++round) {
        const LockEntry entry = Inspect(attempt.path);
        switch (entry.state) {
        case LockEntry::State::Live: attempt.heldBy = entry.owner; return attempt;
        case LockEntry::State::Unreadable: attempt.unreadable = true; return attempt;
        case LockEntry::State::Unknown: return attempt;
        case LockEntry::State::Absent:
        case LockEntry::State::Stale: break;
        }
        const bool replace = entry.state == LockEntry::State::Stale;
        if (const std::optional<struct stat> placed = PlaceLockFile(dir, attempt.path, replace)) {
            attempt.lock = UucpLock(dir, attempt.path, placed->st_dev, placed->st_ino);
            return attempt;
        }
        // Something else took the free name first: look again. Anything else (a directory
        // that is not ours to write, a stale entry we may not replace) leaves the port unlocked.
        if (replace || errno != EEXIST) return attempt;
    }
    return attempt;
}

}  // namespace sys::posix
