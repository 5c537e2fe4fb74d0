#include "tests/sim/SimProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace sim {
namespace {

constexpr auto START_TIMEOUT = std::chrono::seconds(5);
constexpr auto STOP_TIMEOUT = std::chrono::seconds(3);

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return m_fd; }
    void Close() {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

// Spawns marlox-sim with stdout on stdoutFd; stderr stays the test's.
pid_t Spawn(const std::vector<std::string>& args, int stdoutFd) {
    std::vector<std::string> all{MARLOX_SIM_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error(std::string("cannot start ") + MARLOX_SIM_PATH);
    return pid;
}

std::optional<int> Reap(pid_t pid, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t result = ::waitpid(pid, &status, WNOHANG);
        if (result == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (result < 0 || std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::string ReadLine(int fd, std::chrono::steady_clock::time_point deadline) {
    std::string line;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd entry{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) return {};
        char c = 0;
        if (::read(fd, &c, 1) != 1) return {};
        if (c == '\n') return line;
        line += c;
    }
}

}  // namespace

SimProcess::SimProcess(const std::vector<std::string>& args) {
    char logTemplate[] = "/tmp/marlox-sim-test-XXXXXX.log";
    const int logFd = ::mkstemps(logTemplate, 4);
    if (logFd < 0) throw std::runtime_error("cannot make a log file");
    ::close(logFd);
    m_logPath = logTemplate;

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    Fd readEnd(pipeFds[0]);
    Fd writeEnd(pipeFds[1]);
    std::vector<std::string> withLog = args;
    withLog.insert(withLog.end(), {"--log", m_logPath});
    m_pid = Spawn(withLog, writeEnd.Get());
    writeEnd.Close();

    m_path = ReadLine(readEnd.Get(), std::chrono::steady_clock::now() + START_TIMEOUT);
    if (m_path.empty()) {
        Signal(SIGKILL);
        Reap(m_pid, STOP_TIMEOUT);
        std::remove(m_logPath.c_str());
        throw std::runtime_error("marlox-sim printed no pty path");
    }
}

SimProcess::~SimProcess() {
    if (!m_reaped) {
        Signal(SIGTERM);
        if (!Reap(m_pid, STOP_TIMEOUT)) {
            Signal(SIGKILL);
            Reap(m_pid, STOP_TIMEOUT);
        }
    }
    std::remove(m_logPath.c_str());
}

std::string SimProcess::LogText() const {
    std::ifstream file(m_logPath);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> SimProcess::RequestLines() const {
    std::istringstream text(LogText());
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) {
        const auto at = line.find("request ");
        if (at != std::string::npos) lines.push_back(line.substr(at));
    }
    return lines;
}

void SimProcess::Signal(int signal) const {
    if (!m_reaped) ::kill(m_pid, signal);
}

std::optional<int> SimProcess::WaitForExit(std::chrono::milliseconds timeout) {
    if (!m_reaped) {
        m_exitStatus = Reap(m_pid, timeout);
        m_reaped = m_exitStatus.has_value();
    }
    return m_exitStatus;
}

int RunSimToExit(const std::vector<std::string>& args) {
    Fd devNull(::open("/dev/null", O_WRONLY | O_CLOEXEC));
    const pid_t pid = Spawn(args, devNull.Get());
    const auto status = Reap(pid, std::chrono::seconds(10));
    if (!status) {
        ::kill(pid, SIGKILL);
        Reap(pid, STOP_TIMEOUT);
        return -1;
    }
    return *status;
}

}  // namespace sim
