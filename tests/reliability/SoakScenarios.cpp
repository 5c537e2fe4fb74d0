#include "tests/reliability/SoakScenarios.h"

#include <sstream>

namespace soak {

namespace {

// marlox-sim's default answers.
const std::string ENGINE_CODE = "E7TX0421";
const std::string VERSION = "V3.02";
const std::string LEGACY_ENGINE_CODE = "E4LG0193";
const std::string LEGACY_VERSION = "V1.07";

Outcome AllFive() {
    Outcome outcome;
    outcome.engineCode = ENGINE_CODE;
    outcome.version = VERSION;
    outcome.protection = ProtectionResult::None;
    outcome.legacyEngineCode = LEGACY_ENGINE_CODE;
    outcome.legacyVersion = LEGACY_VERSION;
    outcome.refreshes = 1;
    return outcome;
}

template <typename Change>
Outcome AllFiveBut(Change change) {
    Outcome outcome = AllFive();
    change(outcome);
    return outcome;
}

std::vector<Scenario> MakeScenarios() {
    using namespace std::chrono_literals;
    const auto dual = [](std::vector<std::string> more) {
        std::vector<std::string> args{"--profile", "dual"};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    std::vector<Scenario> scenarios;
    const auto add = [&](std::string name, std::vector<std::string> args, Outcome expected) {
        scenarios.push_back(Scenario());
        scenarios.back().name = std::move(name);
        scenarios.back().simArgs = std::move(args);
        scenarios.back().expected = std::move(expected);
        return &scenarios.back();
    };
    const auto noTarvexSet = [](Outcome& o) {
        o.engineCode = o.version = std::nullopt;
        o.protection = ProtectionResult::NoResponse;
        o.refreshes = 0;
    };
    const auto noLegacySet = [](Outcome& o) {
        o.legacyEngineCode = o.legacyVersion = std::nullopt;
    };

    // Answering at once: the bulk of the run.
    add("dual", dual({}), AllFive());
    add("odd texts",
        dual({"--engine-code", "hex:414243444546474849", "--version", "hex:5633003032",
              "--legacy-engine-code", "hex:e382b7e383aa", "--legacy-version", "V1"}),
        AllFiveBut([](Outcome& o) {
            o.engineCode = "ABCDEFGH";  // nine bytes cut to the window of eight
            o.version = "V3";           // cut at the zero byte
            o.legacyEngineCode = "\xe3\x82\xb7\xe3\x83\xaa";
            o.legacyVersion = "V1";
        }));
    add("bad checksum", dual({"--bad-checksum", "--fault-on", "F5"}),
        AllFiveBut([](Outcome& o) { o.version = std::nullopt; }));
    add("253-byte reply", dual({"--long-reply", "--fault-on", "F3"}), AllFive());
    add("complete frame of noise", dual({"--noise=FF00", "--fault-on", "F3"}),
        AllFiveBut([](Outcome& o) { o.engineCode = ""; }));
    add("protected data", dual({"--protection-data", "hex:202020202020202001"}),
        AllFiveBut([](Outcome& o) { o.protection = ProtectionResult::Protected; }));
    add("hang-up", dual({"--hang-up", "--fault-on", "AD"}), AllFiveBut([&](Outcome& o) {
            noLegacySet(o);
            o.protection = ProtectionResult::NoResponse;
            o.refreshes = 0;
        }))
        ->endsSimulator = true;

    // One inquiry (or more) left without an answer: about half a second each.
    add("noise", dual({"--noise", "--fault-on", "AD"}), AllFiveBut([](Outcome& o) {
            o.protection = ProtectionResult::NoResponse;
            o.refreshes = 0;
        }));
    add("cut-off frame", dual({"--cut-off", "--fault-on", "6B"}),
        AllFiveBut([](Outcome& o) { o.legacyEngineCode = std::nullopt; }));
    // The engine code arrives at 900 ms: about 400 ms after the link gave up on it and 400 ms
    // before the version's request purges it.
    add("late reply", dual({"--late=900", "--fault-on", "F3"}),
        AllFiveBut([](Outcome& o) { o.engineCode = std::nullopt; }))
        ->pauseAfterEngineCode = 800ms;
    add("tarvex", {"--profile", "tarvex"}, AllFiveBut(noLegacySet));
    add("protected", {"--profile", "protected"}, AllFiveBut([&](Outcome& o) {
            noLegacySet(o);
            o.protection = ProtectionResult::Protected;
        }));
    add("legacy", {"--profile", "legacy"}, AllFiveBut(noTarvexSet));
    add("silent", {"--profile", "silent"}, AllFiveBut([&](Outcome& o) {
            noTarvexSet(o);
            noLegacySet(o);
        }));
    return scenarios;
}

constexpr std::size_t FIRST_SLOW = 7;  // scenarios from here on come once per hundred tests

}  // namespace

bool Outcome::operator==(const Outcome& other) const {
    return engineCode == other.engineCode && version == other.version &&
           protection == other.protection && legacyEngineCode == other.legacyEngineCode &&
           legacyVersion == other.legacyVersion && refreshes == other.refreshes;
}

std::string Describe(const Outcome& outcome) {
    const auto text = [](const std::optional<std::string>& value) {
        return value ? "\"" + *value + "\"" : std::string("no response");
    };
    const char* protection = outcome.protection == ProtectionResult::None        ? "none"
                             : outcome.protection == ProtectionResult::Protected ? "protected"
                                                                                 : "no response";
    std::ostringstream out;
    out << "engine code " << text(outcome.engineCode) << ", version " << text(outcome.version)
        << ", protection " << protection << ", legacy engine code "
        << text(outcome.legacyEngineCode) << ", legacy version " << text(outcome.legacyVersion)
        << ", refreshes " << outcome.refreshes;
    return out.str();
}

const std::vector<Scenario>& Scenarios() {
    static const std::vector<Scenario> scenarios = MakeScenarios();
    return scenarios;
}

std::size_t ScenarioFor(std::size_t test) {
    const std::size_t slots = 100;
    const std::size_t slow = Scenarios().size() - FIRST_SLOW;
    const std::size_t slot = test % slots;
    // The slow ones spread over the hundred, every fourteenth slot from the seventh.
    if (slot % 14 == 7 && slot / 14 < slow) return FIRST_SLOW + slot / 14;
    return test % FIRST_SLOW;
}

}  // namespace soak
