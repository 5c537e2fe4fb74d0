#pragma once
// The signals that ask a command-line tool to stop: Ctrl+C and a termination request everywhere,
// and where the system has them a hang-up and the loss of the reader of its output. Caught, they
// let the tool end its work itself and close what it holds (a lock file, a port's exclusive
// flag) instead of dying with it open.

namespace sys {

// From now on each stop signal is noted instead of ending the process. A signal the process
// was started with ignored (nohup, a service manager's SIGPIPE) stays ignored. Call it before
// the tool starts any thread.
void CatchStopSignals();

// The first stop signal noted, or 0.
int CaughtStopSignal();

}  // namespace sys
