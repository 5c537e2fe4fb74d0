// A long run of connection tests in one process, each on a freshly opened link to marlox-sim
// (real pty, real termios), cycling profiles and faults. Every outcome must be the expected
// one, and from the hundredth test to the last the process must not gain descriptors or
// (beyond a small tolerance) resident memory.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <thread>

#include "link/SerialLink.h"
#include "tests/reliability/ProcessFigures.h"
#include "tests/reliability/SoakScenarios.h"
#include "tests/sim/SimProcess.h"

#if defined(__SANITIZE_ADDRESS__)
#define SOAK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_UNDER_ASAN 1
#endif
#endif

namespace soak {
namespace {

constexpr std::size_t DEFAULT_TESTS = 1000;
constexpr std::size_t BASELINE_TEST = 100;
// Allocator growth that is not a leak: the heap settles in steps of pages and arenas.
constexpr std::size_t RSS_TOLERANCE_KB = 2048;
constexpr std::size_t FAILURES_SHOWN = 20;

std::size_t TestCount() {
    const char* value = std::getenv("MARLOX_SOAK_TESTS");
    if (value == nullptr || *value == '\0') return DEFAULT_TESTS;
    return std::strtoul(value, nullptr, 10);
}

class Recorder : public TestObserver {
public:
    Recorder(Outcome& outcome, std::chrono::milliseconds pause)
        : m_outcome(outcome), m_pause(pause) {}

    void OnTextResult(Inquiry inquiry, const std::optional<std::string>& text) override {
        switch (inquiry) {
        case Inquiry::EngineCode:
            m_outcome.engineCode = text;
            std::this_thread::sleep_for(m_pause);
            break;
        case Inquiry::Version: m_outcome.version = text; break;
        case Inquiry::LegacyEngineCode: m_outcome.legacyEngineCode = text; break;
        case Inquiry::LegacyVersion: m_outcome.legacyVersion = text; break;
        case Inquiry::Protection: break;
        }
    }
    void OnProtectionResult(ProtectionResult result) override { m_outcome.protection = result; }
    void OnRefresh() override { ++m_outcome.refreshes; }

private:
    Outcome& m_outcome;
    std::chrono::milliseconds m_pause;
};

struct Tally {
    std::size_t runs = 0;
    std::size_t failures = 0;
    double seconds = 0;
};

// One simulator per scenario, started when first needed and again after it hung up.
class Simulators {
public:
    sim::SimProcess& For(std::size_t scenario) {
        auto& process = m_processes[scenario];
        if (!process) process = std::make_unique<sim::SimProcess>(Scenarios()[scenario].simArgs);
        return *process;
    }
    // After a hang-up the simulator must have ended by itself, with status 0.
    bool Retire(std::size_t scenario) {
        auto& process = m_processes[scenario];
        const auto status = process->WaitForExit(std::chrono::seconds(3));
        process.reset();
        ++m_restarts;
        return status == 0;
    }
    std::size_t Restarts() const { return m_restarts; }

private:
    std::map<std::size_t, std::unique_ptr<sim::SimProcess>> m_processes;
    std::size_t m_restarts = 0;
};

TEST(Soak, ConnectionTestsKeepTheirOutcomesDescriptorsAndMemory) {
    const std::size_t tests = TestCount();
    ASSERT_GE(tests, 2u) << "MARLOX_SOAK_TESTS must be at least 2";
    const std::size_t baselineAt = std::min(BASELINE_TEST, tests / 2);

    Simulators simulators;
    std::map<std::size_t, Tally> tallies;
    std::size_t failures = 0;
    std::size_t descriptorsAtBaseline = 0, rssAtBaseline = 0;
    const auto start = std::chrono::steady_clock::now();

    for (std::size_t test = 0; test < tests; ++test) {
        const std::size_t index = ScenarioFor(test);
        const Scenario& scenario = Scenarios()[index];
        sim::SimProcess& simulator = simulators.For(index);

        const auto began = std::chrono::steady_clock::now();
        Outcome outcome;
        bool opened = false;
        {
            CSerialLink link;
            opened = link.Open(simulator.Path());
            if (opened) {
                Recorder recorder(outcome, scenario.pauseAfterEngineCode);
                RunConnectionTest(link, recorder);
                link.Close();
            }
        }
        bool ok = opened && outcome == scenario.expected;
        if (scenario.endsSimulator) ok = simulators.Retire(index) && ok;

        Tally& tally = tallies[index];
        ++tally.runs;
        tally.seconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        if (!ok) {
            ++tally.failures;
            if (++failures <= FAILURES_SHOWN)
                ADD_FAILURE() << "test " << test + 1 << " (" << scenario.name << "): "
                              << (opened ? "got " + Describe(outcome) : "port did not open")
                              << "\n  expected " << Describe(scenario.expected);
        }
        // Figures once the test's port is closed and any hung-up simulator reaped.
        if (test + 1 == baselineAt) {
            descriptorsAtBaseline = OpenDescriptors();
            rssAtBaseline = ResidentKilobytes();
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::size_t descriptors = OpenDescriptors();
    const std::size_t rss = ResidentKilobytes();

    std::printf("soak: tests %zu, failed %zu, seconds %.1f, simulator restarts %zu\n", tests,
                failures, seconds, simulators.Restarts());
    for (const auto& [index, tally] : tallies)
        std::printf("soak: scenario \"%s\": %zu runs, %zu failed, %.3f s each\n",
                    Scenarios()[index].name.c_str(), tally.runs, tally.failures,
                    tally.seconds / static_cast<double>(tally.runs));
    std::printf("soak: descriptors after test %zu: %zu, after test %zu: %zu\n", baselineAt,
                descriptorsAtBaseline, tests, descriptors);
#ifdef SOAK_UNDER_ASAN
    // ASan keeps freed blocks in quarantine, so its RSS grows without a leak (LeakSanitizer
    // reports real leaks at exit).
    std::printf(
        "soak: VmRSS after test %zu: %zu kB, after test %zu: %zu kB "
        "(not checked under AddressSanitizer)\n",
        baselineAt, rssAtBaseline, tests, rss);
#else
    std::printf("soak: VmRSS after test %zu: %zu kB, after test %zu: %zu kB (tolerance %zu kB)\n",
                baselineAt, rssAtBaseline, tests, rss, RSS_TOLERANCE_KB);
    EXPECT_LE(rss, rssAtBaseline + RSS_TOLERANCE_KB) << "resident memory grew";
#endif
    std::fflush(stdout);

    EXPECT_EQ(failures, 0u);
    EXPECT_EQ(descriptors, descriptorsAtBaseline) << "descriptors were left open";
}

}  // namespace
}  // namespace soak
