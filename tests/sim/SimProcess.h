#pragma once
// marlox-sim as a child process of a test or benchmark: started with its log in a temporary
// file, stopped (SIGTERM, then SIGKILL) when the object goes.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace sim {

class SimProcess {
public:
    // Starts marlox-sim with args (plus --log) and waits for the pty path it prints.
    // Throws std::runtime_error when it does not start or prints nothing.
    explicit SimProcess(const std::vector<std::string>& args = {});
    virtual ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& Path() const { return m_path; }
    std::string LogText() const;
    // Request lines of the log ("request F3 02 0A (engine code): ..."), in order.
    std::vector<std::string> RequestLines() const;
    void Signal(int signal) const;
    // The exit status once the process has ended within the time; nullopt while it runs.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);

private:
    pid_t m_pid = -1;
    bool m_reaped = false;
    std::optional<int> m_exitStatus;
    std::string m_logPath;
    std::string m_path;
};

// Runs marlox-sim with args to its end (stdout discarded) and returns its exit status.
int RunSimToExit(const std::vector<std::string>& args);

}  // namespace sim
