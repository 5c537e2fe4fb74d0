#pragma once
// marlox-sim for one test; its log is printed when the test has failed.

#include <gtest/gtest.h>

#include <iostream>

#include "tests/sim/SimProcess.h"

namespace simtest {

class SimUnderTest : public sim::SimProcess {
public:
    using sim::SimProcess::SimProcess;
    ~SimUnderTest() override {
        if (::testing::Test::HasFailure()) std::cerr << "marlox-sim log:\n" << LogText();
    }
};

using sim::RunSimToExit;

}  // namespace simtest
