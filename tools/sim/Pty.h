#pragma once
// The pseudo-terminal the simulator answers on, and the symlink that names it.

#include <cstddef>
#include <string>

#include "sys/posix/UniqueFd.h"

namespace sim {

// A pty pair. The simulator reads and writes the master; the requester opens SlavePath().
// The simulator keeps its own raw slave descriptor open as well, so a requester may close and
// reopen the slave as often as it likes without the master seeing a hang-up in between.
class Pty {
public:
    // Throws std::system_error.
    Pty();

    int Master() const { return m_master.Get(); }
    const std::string& SlavePath() const { return m_slavePath; }
    // Bytes written to the master that the requester has not read yet.
    std::size_t PendingForRequester() const;
    // Closes both ends: the requester's reads then fail as on an unplugged device.
    void HangUp();

private:
    sys::UniqueFd m_master;
    sys::UniqueFd m_slave;
    std::string m_slavePath;
};

// A symlink made at construction and removed at destruction, unless it has been replaced since.
class ScopedSymlink {
public:
    // Replaces an existing symlink at linkPath, refuses anything else there. Throws
    // std::system_error.
    ScopedSymlink(const std::string& target, const std::string& linkPath);
    ~ScopedSymlink();
    ScopedSymlink(const ScopedSymlink&) = delete;
    ScopedSymlink& operator=(const ScopedSymlink&) = delete;

private:
    std::string m_target;
    std::string m_linkPath;
};

}  // namespace sim
