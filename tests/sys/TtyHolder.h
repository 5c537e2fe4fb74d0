#pragma once
// Another program holding a tty the plain way: `sleep` with the tty opened as its standard
// input (no flock, no TIOCEXCL). Killed and reaped when the object goes.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace testutil {

class TtyHolder {
public:
    // posix_spawnp returns once the program runs, so the tty is open by then.
    explicit TtyHolder(const std::string& tty) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, tty.c_str(), O_RDWR | O_NOCTTY, 0);
        const char* argv[] = {"sleep", "60", nullptr};
        if (posix_spawnp(&m_pid, argv[0], &actions, nullptr, const_cast<char**>(argv), environ))
            m_pid = 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~TtyHolder() {
        if (m_pid > 0 && ::kill(m_pid, SIGKILL) == 0) ::waitpid(m_pid, nullptr, 0);
    }
    TtyHolder(const TtyHolder&) = delete;
    TtyHolder& operator=(const TtyHolder&) = delete;

    pid_t Pid() const { return m_pid; }  // 0 when it did not start

private:
    pid_t m_pid = 0;
};

}  // namespace testutil
