// The stop signals are blocked rather than handled: they stay pending, and each look asks the
// kernel for them. No handler runs at an awkward moment, and none can be deferred or lost by a
// runtime that wraps handlers. Blocked before the tool starts its threads, they are blocked in
// every thread, so none ends the process. A lost pipe's SIGPIPE is pending for the thread whose
// write failed: the first thread to see a signal notes it for all.
#include <signal.h>

#include <atomic>

#include "sys/StopSignals.h"

namespace sys {
namespace {

constexpr int STOPS[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
std::atomic<int> g_caught{0};
// Only signals this tool blocked for itself are its to note: elsewhere (the port watch's own
// wait) a pending signal belongs to whoever blocked it.
std::atomic<bool> g_catching{false};

}  // namespace

void CatchStopSignals() {
    sigset_t stops;
    sigemptyset(&stops);
    for (const int signal : STOPS) {
        // A blocked signal stays pending even when ignored: leave an ignored one alone.
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
            sigaddset(&stops, signal);
    }
    ::pthread_sigmask(SIG_BLOCK, &stops, nullptr);
    g_catching = true;
}

int CaughtStopSignal() {
    if (!g_catching) return 0;
    if (const int caught = g_caught.load()) return caught;
    sigset_t pending;
    if (::sigpending(&pending) != 0) return 0;
    for (const int signal : STOPS) {
        if (sigismember(&pending, signal) != 1) continue;
        int none = 0;
        g_caught.compare_exchange_strong(none, signal);
        break;
    }
    return g_caught.load();
}

}  // namespace sys
