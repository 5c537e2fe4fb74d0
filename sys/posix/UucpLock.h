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

// One lock file this process created; removed when the object is destroyed, unless it has
// been replaced since. An empty object holds nothing.
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
    UucpLock(std::string path, dev_t device, ino_t inode);

    std::string m_path;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

struct UucpLockAttempt {
    // Takes <dir>/LCK..<name> for this process. A lock left by a process that no longer exists
    // is removed first. Where the directory cannot be written the attempt ends without a lock
    // and without refusal; a live lock of another process is honoured all the same.
    static UucpLockAttempt Take(const std::string& dir, const std::string& name);

    UucpLock lock;     // held on success, empty otherwise
    pid_t heldBy = 0;  // the live owner's PID when refused
    std::string path;  // the lock file's path
};

}  // namespace sys::posix
