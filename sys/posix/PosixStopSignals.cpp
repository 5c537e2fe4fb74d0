// The handler only stores the signal's number in a lock-free atomic: nothing else is safe in a
// signal handler, and the tool's threads look at it between reads.
#include <signal.h>

#include <atomic>
#include <initializer_list>

#include "sys/StopSignals.h"

namespace sys {
namespace {

std::atomic<int> g_caught{0};
static_assert(std::atomic<int>::is_always_lock_free, "a handler may touch lock-free atomics only");

void Note(int signal) {
    int none = 0;
    g_caught.compare_exchange_strong(none, signal);
}

}  // namespace

void CatchStopSignals() {
    struct sigaction catcher {};
    catcher.sa_handler = Note;
    sigemptyset(&catcher.sa_mask);
    catcher.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        struct sigaction previous {};
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
            ::sigaction(signal, &catcher, nullptr);
    }
}

int CaughtStopSignal() { return g_caught.load(); }

}  // namespace sys
