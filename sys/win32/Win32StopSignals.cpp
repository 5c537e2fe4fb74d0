// Windows raises SIGINT for Ctrl+C (on a thread of its own) and knows no hang-up
// or broken-pipe signal. The handler only stores the signal's number in a lock-free atomic.
#include <atomic>
#include <initializer_list>
#include <csignal>

#include "sys/StopSignals.h"

namespace sys {
namespace {

std::atomic<int> g_caught{0};
static_assert(std::atomic<int>::is_always_lock_free, "a handler may touch lock-free atomics only");

void Note(int signal) {
    std::signal(signal, Note);  // the runtime resets the handler before each call
    int none = 0;
    g_caught.compare_exchange_strong(none, signal);
}

}  // namespace

void CatchStopSignals() {
    for (const int signal : {SIGINT, SIGTERM}) {
        if (std::signal(signal, Note) == SIG_IGN) std::signal(signal, SIG_IGN);
    }
}

int CaughtStopSignal() { return g_caught.load(); }

}  // namespace sys
