// marlox-probe on several marlox-sim controllers at once, each on its own pty and thread: every
// port's answers in its own place, in the order given, a missing port among good ones, each
// exchange outcome from a simulator fault, the wire trace, and a stop signal mid-test. Also run
// under ThreadSanitizer.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "link/HexBytes.h"
#include "link/SerialLink.h"
#include "sys/PortInventory.h"
#include "sys/posix/UniqueFd.h"
#include "tests/sim/LinkRun.h"
#include "tests/sim/SimUnderTest.h"
#include "tools/probe/MultiProbe.h"

namespace simtest {
namespace {

const std::string MISSING = "/dev/marlox-no-such-port";

// Trace lines from every port's thread, kept whole.
class CapturedLines final : public probe::LineSink {
public:
    void WriteLine(const std::string& line) override {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.push_back(line);
    }
    std::vector<std::string> Lines() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_lines;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

// The given ptys as the machine's port inventory, for --all.
class PtyInventory final : public sys::PortInventory {
public:
    explicit PtyInventory(std::vector<std::string> paths) : m_paths(std::move(paths)) {}
    std::vector<sys::InventoryPort> ListPorts() const override {
        std::vector<sys::InventoryPort> ports;
        for (const std::string& path : m_paths)
            ports.push_back({path, path.substr(path.rfind('/') + 1), path, false, path});
        return ports;
    }

private:
    std::vector<std::string> m_paths;
};

struct Command {
    probe::ProbeOptions options;
    int status = -1;
    std::string out;
    std::string err;
};

Command RunCommand(probe::ProbeOptions options, probe::LineSink& trace,
                   const std::vector<std::string>& inventory = {}) {
    PtyInventory ptys(inventory);
    sys::InventoryPlatform platform(ptys);
    std::ostringstream out, err;
    Command command;
    command.options = options;
    command.status = probe::RunProbe(options, platform, sys::SystemSerialPorts(), trace, out, err);
    command.out = out.str();
    command.err = err.str();
    return command;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// One element of the --json array for a port that answered as the simulator's defaults would,
// with the given answers replacing them (null: no response).
std::string Answers(const std::string& port, const std::string& engineCode,
                    const std::string& version, const std::string& protection,
                    const std::string& legacyEngineCode, const std::string& legacyVersion) {
    return "{\"port\": " + Quoted(port) + ", \"engine_code\": " + engineCode +
           ", \"version\": " + version + ", \"protection\": " + protection +
           ", \"legacy_engine_code\": " + legacyEngineCode +
           ", \"legacy_version\": " + legacyVersion + "}";
}

TEST(MultiProbe, EachPortsAnswersLandInItsOwnElementInTheOrderGiven) {
    SimUnderTest tarvex({"--profile", "tarvex", "--engine-code", "TARVEX01"});
    SimUnderTest legacy({"--profile", "legacy", "--legacy-version", "L2.00"});
    SimUnderTest silent({"--profile", "silent"});
    SimUnderTest protectedSim({"--profile", "protected", "--version", "P9.99"});
    const std::string null = "null";
    const std::string tarvexJson = Answers(tarvex.Path(), Quoted("TARVEX01"),
                                           Quoted(DEFAULT_VERSION), Quoted("none"), null, null);
    const std::string legacyJson = Answers(legacy.Path(), null, null, null,
                                           Quoted(DEFAULT_LEGACY_ENGINE_CODE), Quoted("L2.00"));
    const std::string silentJson = Answers(silent.Path(), null, null, null, null, null);
    const std::string protectedJson = Answers(protectedSim.Path(), Quoted(DEFAULT_ENGINE_CODE),
                                              Quoted("P9.99"), Quoted("protected"), null, null);
    const std::string missingJson =
        "{\"port\": " + Quoted(MISSING) + ", \"error\": \"no such device\"}";

    struct Case {
        const char* what;
        std::vector<std::string> ports;
        bool all;
        std::vector<std::string> elements;
        int status;
    };
    const Case cases[] = {
        {"four profiles",
         {silent.Path(), tarvex.Path(), protectedSim.Path(), legacy.Path()},
         false,
         {silentJson, tarvexJson, protectedJson, legacyJson},
         probe::EXIT_OK},
        {"a missing port among good ones",
         {legacy.Path(), MISSING, tarvex.Path()},
         false,
         {legacyJson, missingJson, tarvexJson},
         probe::EXIT_CANNOT_OPEN},
        {"--all, in list order",
         {tarvex.Path(), legacy.Path(), silent.Path()},
         true,
         {tarvexJson, legacyJson, silentJson},
         probe::EXIT_OK},
    };
    for (const Case& c : cases) {
        probe::ProbeOptions options;
        options.json = true;
        options.all = c.all;
        if (!c.all) options.ports = c.ports;
        CapturedLines trace;
        const Command command =
            RunCommand(options, trace, c.all ? c.ports : std::vector<std::string>{});
        std::string expected;
        for (const std::string& element : c.elements)
            expected += (expected.empty() ? "[" : ", ") + element;
        EXPECT_EQ(command.out, expected + "]\n") << c.what;
        EXPECT_EQ(command.status, c.status) << c.what;
        EXPECT_EQ(command.err, "") << c.what;
        EXPECT_TRUE(trace.Lines().empty()) << c.what << ": traced without --trace";
    }
}

TEST(MultiProbe, TextHasOneBlockPerPortAndTheReasonForAPortThatDidNotOpen) {
    SimUnderTest dual({"--profile", "dual"});
    probe::ProbeOptions options;
    options.ports = {MISSING, dual.Path()};
    CapturedLines trace;
    const Command command = RunCommand(options, trace);
    EXPECT_EQ(command.status, probe::EXIT_CANNOT_OPEN);
    EXPECT_EQ(command.out,
              "Port: " + MISSING +
                  "\n"
                  "Error: no such device\n"
                  "\n"
                  "Port: " +
                  dual.Path() +
                  "\n"
                  "Engine code: " +
                  DEFAULT_ENGINE_CODE + "\nVersion: " + DEFAULT_VERSION +
                  "\nProtection: None\nLegacy engine code: " + DEFAULT_LEGACY_ENGINE_CODE +
                  "\nLegacy version: " + DEFAULT_LEGACY_VERSION + "\n");
}

TEST(MultiProbe, DetailNamesEachOutcomeTheSimulatorsFaultsCause) {
    SimUnderTest silent({"--profile", "silent"});
    SimUnderTest badChecksum({"--profile", "dual", "--bad-checksum", "--fault-on", "F5"});
    // Four bytes of the protection reply, then the simulator closes the pty and exits.
    SimUnderTest hangUp({"--profile", "dual", "--hang-up", "--cut-at", "4", "--fault-on", "AD"});

    const std::vector<probe::PortTarget> targets = {{"silent", silent.Path()},
                                                    {"bad checksum", badChecksum.Path()},
                                                    {"hang-up", hangUp.Path()}};
    const std::vector<probe::PortReport> reports =
        probe::ProbePorts(targets, sys::SystemSerialPorts(), nullptr);
    ASSERT_EQ(reports.size(), 3u);

    struct Expected {
        const char* outcome;
        std::string replyPrefix;  // hex; the whole reply when exact
        bool exact;
    };
    const std::string engineReply = "F3 0A 45 37 54 58 30 34 32 31 13";
    const std::vector<std::vector<Expected>> expected = {
        {{"no-reply", "", true},
         {"no-reply", "", true},
         {"no-reply", "", true},
         {"no-reply", "", true},
         {"no-reply", "", true}},
        // The checksum of V3.02's frame is EA; the fault sends it one off, the bytes still shown.
        {{"answered", engineReply, true},
         {"bad-checksum", "F5 07 56 33 2E 30 32 EB", true},
         {"answered", "AD 0A 20 20", false},
         {"answered", "6B 0A", false},
         {"answered", "6C 07", false}},
        // After the hang-up the port reports an error for every later read as well.
        {{"answered", engineReply, true},
         {"answered", "F5 07 56 33 2E 30 32 EA", true},
         {"read-error", "AD 0A 20 20", true},
         {"read-error", "", true},
         {"read-error", "", true}},
    };
    const std::uint8_t commands[] = {0xF3, 0xF5, 0xAD, 0x6B, 0x6C};
    for (std::size_t port = 0; port < reports.size(); ++port) {
        const probe::PortReport& report = reports[port];
        EXPECT_EQ(report.port, targets[port].name);
        ASSERT_TRUE(report.results) << report.port << ": " << report.error;
        const std::vector<ExchangeRecord>& exchanges = report.results->exchanges;
        ASSERT_EQ(exchanges.size(), 5u) << report.port;
        for (std::size_t i = 0; i < 5; ++i) {
            const ExchangeRecord& record = exchanges[i];
            const Expected& want = expected[port][i];
            const std::string hex = HexBytes(record.reply);
            SCOPED_TRACE(report.port + ", inquiry " + std::to_string(i + 1));
            EXPECT_EQ(record.command, commands[i]);
            EXPECT_STREQ(probe::OutcomeName(record.result), want.outcome);
            if (want.exact)
                EXPECT_EQ(hex, want.replyPrefix);
            else
                EXPECT_EQ(hex.rfind(want.replyPrefix, 0), 0u) << hex;
            // Five empty reads of 101 ms cannot pass sooner.
            if (record.result == EXCHANGE_NO_REPLY) {
                EXPECT_GE(record.milliseconds, 5 * 100.0);
            }
        }
    }
    // The outcomes behind the texts: the silent port's five and the faulted inquiries are no
    // response, as the dialog shows them.
    EXPECT_EQ(reports[1].results->version, std::nullopt);
    EXPECT_EQ(reports[2].results->protection, ProtectionResult::NoResponse);
}

TEST(MultiProbe, TraceShowsEachPortsRequestsWholeLinesAndTimesSinceOpen) {
    SimUnderTest dual({"--profile", "dual"});
    SimUnderTest silent({"--profile", "silent"});
    probe::ProbeOptions options;
    options.ports = {dual.Path(), silent.Path()};
    options.trace = true;
    CapturedLines trace;
    const Command command = RunCommand(options, trace);
    EXPECT_EQ(command.status, probe::EXIT_OK);

    const std::vector<std::string> requests = {"F3 02 0A", "F5 02 08", "AD 02 50", "6B 02 92",
                                               "6C 02 91"};
    const std::regex lineForm(R"(^(.*): (\d+) ms (sent|received|read failed) ?([0-9A-F ]*)$)");
    for (const std::string& port : options.ports) {
        std::vector<std::string> sent;
        std::vector<std::string> received;
        long long last = 0;
        for (const std::string& line : trace.Lines()) {
            std::smatch match;
            ASSERT_TRUE(std::regex_match(line, match, lineForm)) << "not one whole line: " << line;
            if (match[1] != port) continue;
            const long long at = std::stoll(match[2]);
            EXPECT_GE(at, last) << line;
            last = at;
            (match[3] == "sent" ? sent : received).push_back(match[4]);
        }
        EXPECT_EQ(sent, requests) << port;
        if (port == silent.Path()) {
            EXPECT_TRUE(received.empty());
            // Five inquiries of five empty reads each.
            EXPECT_GE(last, 4 * 5 * 100);
        } else {
            ASSERT_EQ(received.size(), 5u);
            EXPECT_EQ(received[0], "F3 0A 45 37 54 58 30 34 32 31 13");
        }
    }
}

// marlox-probe as a process, the stop signals at their defaults, stdout and stderr into a pipe
// whose reading end the test holds; closed, when given, started without that descriptor.
class ProbeProcess {
public:
    explicit ProbeProcess(std::vector<std::string> args, int closed = -1) {
        int fds[2] = {-1, -1};
        if (::pipe2(fds, O_CLOEXEC) != 0) return;
        m_output = sys::UniqueFd(fds[0]);
        const sys::UniqueFd writeEnd(fds[1]);
        args.insert(args.begin(), MARLOX_PROBE_PATH);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        m_pid = ::fork();
        if (m_pid != 0) return;
        for (const int stop : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
            ::signal(stop, SIG_DFL);
        ::dup2(writeEnd.Get(), STDOUT_FILENO);
        ::dup2(writeEnd.Get(), STDERR_FILENO);
        if (closed >= 0) ::close(closed);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ~ProbeProcess() {
        if (m_pid > 0 && ::kill(m_pid, SIGKILL) == 0) ::waitpid(m_pid, nullptr, 0);
    }

    void Signal(int signal) const { ::kill(m_pid, signal); }
    void CloseOutput() { m_output.Reset(); }
    // Everything written until the process ended.
    std::string Output() const {
        std::string text;
        char buffer[4096];
        for (ssize_t count; (count = ::read(m_output.Get(), buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<std::size_t>(count));
        return text;
    }
    // The exit status, or minus the signal that killed it; nullopt while it runs after 5 s.
    std::optional<int> Wait() {
        int status = 0;
        for (int waits = 0; ::waitpid(m_pid, &status, WNOHANG) == 0; ++waits) {
            if (waits == 500) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }

private:
    pid_t m_pid = -1;
    sys::UniqueFd m_output;
};

// The exclusive flag as a later opener meets it: a refused open, or the flag itself for root.
bool Exclusive(const std::string& tty) {
    const sys::UniqueFd fd(::open(tty.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    int flag = 0;
    if (!fd.Valid()) return errno == EBUSY;
    return ::ioctl(fd.Get(), TIOCGEXCL, &flag) == 0 && flag != 0;
}

std::string LockFileOf(std::string tty) {
    std::replace(tty.begin(), tty.end(), '/', '_');
    return "/var/lock/LCK.." + tty.substr(std::string("/dev/").size());
}

TEST(ProbeProcess, AStopSignalMidTestClosesEveryPortAndExitsWith128PlusTheSignal) {
    // SIGPIPE comes as in `marlox-probe ... --trace 2>&1 | head -c 10`: the reader goes away.
    const struct {
        int signal;
        std::size_t ports;
        bool trace;
    } rows[] = {{SIGINT, 1, false}, {SIGTERM, 2, false}, {SIGHUP, 1, true}, {SIGPIPE, 2, true}};
    const bool locking = ::access("/var/lock", W_OK) == 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(strsignal(row.signal));
        std::vector<std::unique_ptr<SimUnderTest>> sims;
        std::vector<std::string> args = {row.trace ? "--trace" : "--json"};
        for (std::size_t i = 0; i < row.ports; ++i) {
            sims.push_back(
                std::make_unique<SimUnderTest>(std::vector<std::string>{"--profile", "silent"}));
            args.push_back(sims.back()->Path());
        }
        ProbeProcess probe(args);
        for (const auto& sim : sims) {  // mid-test: each port has had its first request
            for (int waits = 0; sim->RequestLines().empty() && waits < 500; ++waits)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            EXPECT_TRUE(Exclusive(sim->Path()));
            EXPECT_TRUE(!locking || std::filesystem::exists(LockFileOf(sim->Path())));
        }
        if (row.signal == SIGPIPE) {
            probe.CloseOutput();
        } else {
            probe.Signal(row.signal);
        }
        const std::optional<int> status = probe.Wait();
        ASSERT_TRUE(status) << "still running";
        EXPECT_EQ(*status, 128 + row.signal);
        for (const auto& sim : sims) {
            EXPECT_LT(sim->RequestLines().size(), 5u) << "the test ran to its end";
            EXPECT_FALSE(Exclusive(sim->Path())) << sim->Path();
            EXPECT_FALSE(std::filesystem::exists(LockFileOf(sim->Path())));
            CSerialLink later;
            EXPECT_TRUE(later.Open(sim->Path())) << sys::OpenFailureText(later.LastOpenError());
        }
    }
}

TEST(ProbeProcess, AClosedStandardErrorNeverPutsTheTraceOnTheWire) {
    // `marlox-probe PORT --trace 2>&-`: a port opened as descriptor 2 would get the trace.
    SimUnderTest sim({"--profile", "dual"});
    ProbeProcess probe({sim.Path(), "--trace"}, STDERR_FILENO);
    EXPECT_EQ(probe.Wait(), std::optional<int>(probe::EXIT_OK));
    EXPECT_EQ(sim.RequestLines().size(), 5u);
    EXPECT_EQ(sim.LogText().find("garbage"), std::string::npos);
    EXPECT_NE(probe.Output().find("Legacy version: " + DEFAULT_LEGACY_VERSION), std::string::npos);
}

}  // namespace
}  // namespace simtest
