#pragma once
// The UUCP lock file serial programs agree on: <dir>/LCK..<name> holding the owner's PID as ten
// characters right-aligned and a newline. It guards a device against programs that neither
// flock it nor set TIOCEXCL, and tells who holds it.

#include <sys/types.h>

#include <string>

namespace sys::posix {

// The lock's name for a device path: symlinks resolved, then the path below /dev with each
// '/' as '_' ("/dev/ttyUSB0" -> "ttyUSB0", "/dev/pts/3" -> "pts_3"), so every name of one
// device gives one lock; the base name for a device outside /dev. Empty when the path does not
// resolve.
std::string UucpLockName(const std::string& devicePath);

// One lock file this process created; removed when the object is destroyed, and then only while
// it is still this file and still names this process. An empty object holds nothing.
class UucpLock {
public:
    UucpLock() = default;
    ~UucpLock();
    UucpLock(UucpLock&& other) noexcept;
    UucpLock& operator=(UucpLock&& other) noexcept;
    UucpLock(const UucpLock&) = delete;
    UucpLock& operator=(const UucpLock&) = delete;

    bool Held() const { return !m_path.empty(); }
    void Release();

private:
    friend struct UucpLockAttempt;
    UucpLock(std::string dir, std::string path, dev_t device, ino_t inode);

    std::string m_dir;
    std::string m_path;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

struct UucpLockAttempt {
    // Takes <dir>/LCK..<name> for this process. A lock left by a process that no longer exists,
    // or one naming no PID and older than a few seconds, is replaced in one step. Where the
    // directory cannot be written, or the stale entry cannot be replaced, the attempt ends
    // without a lock and without refusal; a live lock of another process is honoured all the
    // same. Refused too: a lock naming no PID yet (its writer may not have finished) and
    // anything at the path that is neither a file nor a directory (a FIFO would block a
    // reader). Lock files change only under a flock of the directory, so of several processes
    // taking one lock at once exactly one gets it.
    static UucpLockAttempt Take(const std::string& dir, const std::string& name);

    UucpLock lock;            // held on success, empty otherwise
    pid_t heldBy = 0;         // the live owner's PID when refused
    bool unreadable = false;  // refused: the path holds a lock that names no owner
    std::string path;         // the lock file's path
};

}  // namespace sys::posix
