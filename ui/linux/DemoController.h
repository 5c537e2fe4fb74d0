#pragma once
// marlox-demo's simulated controller: marlox-sim, installed beside the program, run as a child
// process on a pty for as long as the program runs, and listed as the first port.

#include <memory>
#include <string>

#include "afx/qt/Program.h"

// Starts the simulator; when it cannot start, says so on stderr and the demo lists the machine's
// ports only.
std::unique_ptr<afx::qt::ProgramService> StartDemoController();

// The simulator's pty, empty while none runs.
const std::string& DemoControllerPath();
