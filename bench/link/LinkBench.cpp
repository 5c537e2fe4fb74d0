// Link benchmark, two figures measured in one run against marlox-sim:
//  1. a full connection test on a line paced at 19200 baud 8E1, divided by the pure wire time of
//     the bytes exchanged (what a perfect link would take);
//  2. the CPU time of a silent-port test divided by its wall time (the link must wait in the
//     kernel, never spin).

#include <time.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "link/ConnectionTest.h"
#include "link/SerialLink.h"
#include "tools/sim/SimProcess.h"

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
        throw std::runtime_error("cannot open " + path + ": " + link.LastOpenError());
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
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "marlox-bench-link: %s\n", error.what());
        return 1;
    }
}
