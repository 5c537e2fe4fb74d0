#pragma once
// What the soak runs: marlox-sim set up for one profile or fault, and the outcome a
// connection test against it must have.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "link/ConnectionTest.h"

namespace soak {

struct Outcome {
    std::optional<std::string> engineCode;
    std::optional<std::string> version;
    ProtectionResult protection = ProtectionResult::NoResponse;
    std::optional<std::string> legacyEngineCode;
    std::optional<std::string> legacyVersion;
    int refreshes = 0;

    bool operator==(const Outcome& other) const;
};

std::string Describe(const Outcome& outcome);

struct Scenario {
    std::string name;
    std::vector<std::string> simArgs;
    Outcome expected;
    // The simulator hangs up and exits during the test: the next use needs a new one.
    bool endsSimulator = false;
    // How long the observer holds the test after the engine code is reported, so that a late
    // reply arrives between two inquiries.
    std::chrono::milliseconds pauseAfterEngineCode{0};
};

const std::vector<Scenario>& Scenarios();

// The scenario of the n-th test (from 0). Within every hundred tests each scenario comes at
// least once; the slow ones (silent inquiries cost about half a second each) once only.
std::size_t ScenarioFor(std::size_t test);

}  // namespace soak
