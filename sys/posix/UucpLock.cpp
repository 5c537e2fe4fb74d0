#include "sys/posix/UucpLock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include "sys/posix/UniqueFd.h"

namespace sys::posix {
namespace {

constexpr int LOCK_ATTEMPTS = 3;  // another program may take the name between our steps

bool Alive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// The owner written in a lock file: nullopt when there is no file; 0 when its content is not a
// PID. ASCII as HDB writes it, or the four-byte binary form of older programs.
std::optional<pid_t> ReadOwner(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!fd.Valid()) return errno == ENOENT ? std::nullopt : std::optional<pid_t>(0);
    char text[32] = {};
    const ssize_t length = ::read(fd.Get(), text, sizeof text - 1);
    if (length <= 0) return 0;
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

// Creates `path` with this process's PID, complete or not at all: the content goes into a
// temporary file in the same directory, which link() then gives the lock's name.
std::optional<struct stat> CreateLockFile(const std::string& dir, const std::string& path) {
    std::string temp = dir + "/LTMP.XXXXXX";
    UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd.Valid()) return std::nullopt;
    char content[16];
    const int length =
        std::snprintf(content, sizeof content, "%10ld\n", static_cast<long>(::getpid()));
    const bool written = ::write(fd.Get(), content, static_cast<std::size_t>(length)) == length &&
                         ::fchmod(fd.Get(), 0644) == 0;
    fd.Reset();
    const int linked = written ? ::link(temp.c_str(), path.c_str()) : -1;
    const int linkError = written ? errno : EIO;
    ::unlink(temp.c_str());
    struct stat info {};
    if (linked != 0 || ::stat(path.c_str(), &info) != 0) {
        errno = linkError;
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

UucpLock::UucpLock(std::string path, dev_t device, ino_t inode)
    : m_path(std::move(path)), m_device(device), m_inode(inode) {}

UucpLock::~UucpLock() { Release(); }

UucpLock::UucpLock(UucpLock&& other) noexcept
    : m_path(std::exchange(other.m_path, {})), m_device(other.m_device), m_inode(other.m_inode) {}

UucpLock& UucpLock::operator=(UucpLock&& other) noexcept {
    if (this != &other) {
        Release();
        m_path = std::exchange(other.m_path, {});
        m_device = other.m_device;
        m_inode = other.m_inode;
    }
    return *this;
}

void UucpLock::Release() {
    if (m_path.empty()) return;
    // A lock someone removed as stale and took over is theirs now.
    struct stat info {};
    if (::stat(m_path.c_str(), &info) == 0 && info.st_dev == m_device && info.st_ino == m_inode)
        ::unlink(m_path.c_str());
    m_path.clear();
}

UucpLockAttempt UucpLockAttempt::Take(const std::string& dir, const std::string& name) {
    UucpLockAttempt attempt;
    attempt.path = dir + "/LCK.." + name;
    if (name.empty()) return attempt;
    for (int round = 0; round < LOCK_ATTEMPTS; ++round) {
        if (const std::optional<pid_t> owner = ReadOwner(attempt.path)) {
            if (*owner > 0 && Alive(*owner)) {
                attempt.heldBy = *owner;
                return attempt;
            }
            // Stale. One we may not remove stays, and the port is used without a lock.
            if (::unlink(attempt.path.c_str()) != 0 && errno != ENOENT) return attempt;
        }
        if (const std::optional<struct stat> created = CreateLockFile(dir, attempt.path)) {
            attempt.lock = UucpLock(attempt.path, created->st_dev, created->st_ino);
            return attempt;
        }
        if (errno != EEXIST) return attempt;  // the directory is not ours to write
    }
    return attempt;
}

}  // namespace sys::posix
