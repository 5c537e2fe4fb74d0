// Link benchmark, two figures measured in one run against marlox-sim:
//  1. a full connection test on a line paced at 19200 baud 8E1, divided by the pure wire time of
//     the bytes exchanged (what a perfect link would take);
//  2. the CPU time of a silent-port test divided by its wall time (the link must wait in the
//     kernel, never spin);
//  3. 1, 4, 8 and 16 controllers of mixed profiles (silent among them) tested at once by the
//     runner behind marlox-probe PORT... and --all: the whole run's wall time divided by the
//     slowest single test alone (a silent port), and CPU time per port against one port's.

#include <time.h>

#include <algorithm>
#include <charconv>
#include <memory>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "link/ConnectionTest.h"
#include "link/SerialLink.h"
#include "tools/probe/MultiProbe.h"
#include "tests/sim/SimProcess.h"

namespace {

constexpr double BITS_PER_BYTE = 11;  // start, 8 data, parity, stop
constexpr double BAUD = 19200;
constexpr std::size_t REQUEST_BYTES = 3;
constexpr double PACED_GOAL = 1.05;
constexpr double CPU_GOAL = 0.01;

const std::vector<std::string> TEXTS = {"E7TX0421", "V3.02", "        ", "E4LG0193", "V1.07"};

struct Settings {
    unsigned replyDelayMs = 0;
    int runs = 20;
};

class CountingObserver : public TestObserver {
public:
    int answers = 0;
    void OnTextResult(Inquiry, const std::optional<std::string>& text) override {
        answers += text ? 1 : 0;
    }
    void OnProtectionResult(ProtectionResult result) override {
        answers += result != ProtectionResult::NoResponse ? 1 : 0;
    }
    void OnRefresh() override {}
};

double Seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void OpenOrThrow(CSerialLink& link, const std::string& path) {
    if (!link.Open(path))
        throw std::runtime_error("cannot open " + path + ": " +
                                 sys::OpenFailureText(link.LastOpenError()));
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void MeasurePacedTest(const Settings& settings) {
    sim::SimProcess sim({"--profile", "dual", "--baud-pacing", "--reply-delay",
                         std::to_string(settings.replyDelayMs), "--engine-code", TEXTS[0],
                         "--version", TEXTS[1], "--protection-data", TEXTS[2],
                         "--legacy-engine-code", TEXTS[3], "--legacy-version", TEXTS[4]});
    CSerialLink link;
    OpenOrThrow(link, sim.Path());

    std::size_t bytes = 0;
    for (const std::string& text : TEXTS)
        bytes += REQUEST_BYTES + text.size() + 3;
    const double wire = static_cast<double>(bytes) * BITS_PER_BYTE / BAUD;
    const double delays = 5 * settings.replyDelayMs / 1000.0;

    std::vector<double> walls;
    for (int run = 0; run <= settings.runs; ++run) {
        CountingObserver observer;
        const double start = Seconds(CLOCK_MONOTONIC);
        RunConnectionTest(link, observer);
        const double wall = Seconds(CLOCK_MONOTONIC) - start;
        if (observer.answers != 5)
            throw std::runtime_error("paced test: " + std::to_string(observer.answers) +
                                     " of 5 inquiries answered");
        if (run > 0) walls.push_back(wall);  // the first run warms up
    }
    link.Close();

    const double median = Median(walls);
    const double best = *std::min_element(walls.begin(), walls.end());
    std::printf(
        "1. Full connection test at 19200 baud 8E1 (marlox-sim --baud-pacing, reply delay %u ms)\n",
        settings.replyDelayMs);
    std::printf("   bytes exchanged        %zu (5 requests of 3, replies %zu)\n", bytes,
                bytes - 5 * REQUEST_BYTES);
    std::printf("   wire time              %8.2f ms\n", wire * 1000);
    std::printf("   wall time, %d runs      %8.2f ms median, %8.2f ms best\n", settings.runs,
                median * 1000, best * 1000);
    std::printf("   ratio wall / wire      %8.3f median, %8.3f best   (goal <= %.3f)\n",
                median / wire, best / wire, PACED_GOAL + delays / wire);
}

void MeasureSilentCpu() {
    sim::SimProcess sim({"--profile", "silent"});
    CSerialLink link;
    OpenOrThrow(link, sim.Path());
    CountingObserver observer;
    const double cpuStart = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    const double wallStart = Seconds(CLOCK_MONOTONIC);
    RunConnectionTest(link, observer);
    const double wall = Seconds(CLOCK_MONOTONIC) - wallStart;
    const double cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
    link.Close();
    if (observer.answers != 0) throw std::runtime_error("silent test: a silent port answered");

    std::printf("2. Silent-port connection test (marlox-sim --profile silent)\n");
    std::printf("   wall time              %8.2f ms (25 empty reads of 101 ms = 2525 ms)\n",
                wall * 1000);
    std::printf("   CPU time of the link   %8.3f ms\n", cpu * 1000);
    std::printf("   ratio CPU / wall       %8.5f            (goal < %.2f)\n", cpu / wall, CPU_GOAL);
}

constexpr double SCALE_GOAL = 1.1;
constexpr int SCALE_RUNS = 3;
const std::vector<std::string> SCALE_PROFILES = {"silent", "tarvex", "protected", "legacy", "dual"};

struct ScaleRun {
    double wall = 0;
    double cpu = 0;
    double slowestPort = 0;  // the longest sum of one port's exchanges in the run
};

ScaleRun RunPortsAtOnce(const std::vector<probe::PortTarget>& targets) {
    ScaleRun run;
    const double cpuStart = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    const double wallStart = Seconds(CLOCK_MONOTONIC);
    const std::vector<probe::PortReport> reports =
        probe::ProbePorts(targets, sys::SystemSerialPorts(), nullptr);
    run.wall = Seconds(CLOCK_MONOTONIC) - wallStart;
    run.cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
    for (const probe::PortReport& report : reports) {
        if (!report.results)
            throw std::runtime_error("cannot open " + report.port + ": " + report.error);
        double port = 0;
        for (const ExchangeRecord& exchange : report.results->exchanges)
            port += exchange.milliseconds / 1000;
        run.slowestPort = std::max(run.slowestPort, port);
    }
    return run;
}

void MeasureScale() {
    const std::size_t COUNTS[] = {1, 4, 8, 16};
    std::vector<std::unique_ptr<sim::SimProcess>> sims;
    std::vector<probe::PortTarget> targets;
    for (std::size_t i = 0; i < 16; ++i) {
        const std::string& profile = SCALE_PROFILES[i % SCALE_PROFILES.size()];
        sims.push_back(
            std::make_unique<sim::SimProcess>(std::vector<std::string>{"--profile", profile}));
        targets.push_back({profile + std::to_string(i), sims.back()->Path()});
    }

    std::printf(
        "3. Ports tested at once, each on its thread (marlox-sim profiles silent, tarvex,\n"
        "   protected, legacy, dual in turn; median of %d runs)\n",
        SCALE_RUNS);
    std::printf(
        "   ports  wall ms  slowest port ms  wall / alone  wall / slowest  "
        "CPU ms/port  CPU/port vs 1\n");
    double alone = 0;
    double cpuAlone = 0;
    for (const std::size_t count : COUNTS) {
        const std::vector<probe::PortTarget> some(targets.begin(), targets.begin() + count);
        std::vector<double> walls, cpus, slowest;
        for (int run = 0; run < SCALE_RUNS; ++run) {
            const ScaleRun measured = RunPortsAtOnce(some);
            walls.push_back(measured.wall);
            cpus.push_back(measured.cpu / static_cast<double>(count));
            slowest.push_back(measured.slowestPort);
        }
        const double wall = Median(walls);
        const double cpu = Median(cpus);
        if (count == 1) {
            alone = wall;  // the one port is silent: the slowest single test there is
            cpuAlone = cpu;
        }
        std::printf("   %5zu %8.1f %16.1f %13.3f %15.3f %12.3f %14.2f\n", count, wall * 1000,
                    Median(slowest) * 1000, wall / alone, wall / Median(slowest), cpu * 1000,
                    cpu / cpuAlone);
    }
    std::printf("   goal: wall / alone <= %.1f at 16 ports, CPU per port no higher than for one\n",
                SCALE_GOAL);
}

unsigned ParseCount(const char* text, const char* option) {
    unsigned value = 0;
    const char* end = text + std::strlen(text);
    const auto [ptr, error] = std::from_chars(text, end, value);
    if (error != std::errc() || ptr != end || value > 10000)
        throw std::invalid_argument(std::string(option) + ": not a number: " + text);
    return value;
}

Settings ParseSettings(int argc, char* argv[]) {
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            throw std::invalid_argument("usage: marlox-bench-link [--reply-delay MS] [--runs N]");
        if (option == "--reply-delay")
            settings.replyDelayMs = ParseCount(argv[++i], "--reply-delay");
        else if (option == "--runs")
            settings.runs = static_cast<int>(std::max(1u, ParseCount(argv[++i], "--runs")));
        else
            throw std::invalid_argument("usage: marlox-bench-link [--reply-delay MS] [--runs N]");
    }
    return settings;
}

}  // namespace

int main(int argc, char* argv[]) {
    try {
        const Settings settings = ParseSettings(argc, argv);
        MeasurePacedTest(settings);
        MeasureSilentCpu();
        MeasureScale();
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "marlox-bench-link: %s\n", error.what());
        return 1;
    }
}
