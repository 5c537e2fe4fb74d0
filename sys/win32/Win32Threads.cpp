// mingw's win32 thread model has no std::thread, so the threads are the system's own.

#include <windows.h>

#include <memory>
#include <vector>

#include "sys/Threads.h"
#include "sys/win32/Win32SerialPort.h"

namespace sys {
namespace {

struct Call {
    const std::function<void(std::size_t)>* work;
    std::size_t index;
};

DWORD WINAPI RunCall(LPVOID parameter) {
    const Call& call = *static_cast<const Call*>(parameter);
    (*call.work)(call.index);
    return 0;
}

}  // namespace

void RunEachOnItsOwnThread(std::size_t count, const std::function<void(std::size_t)>& work) {
    // Both vectors are sized up front: the threads hold pointers into calls.
    std::vector<Call> calls(count);
    std::vector<std::unique_ptr<UniqueHandle>> threads;
    threads.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        calls[i] = Call{&work, i};
        const HANDLE thread = ::CreateThread(nullptr, 0, RunCall, &calls[i], 0, nullptr);
        if (thread == nullptr) {
            work(i);
            continue;
        }
        threads.push_back(std::make_unique<UniqueHandle>(thread));
    }
    for (const std::unique_ptr<UniqueHandle>& thread : threads)
        ::WaitForSingleObject(thread->Get(), INFINITE);
}

}  // namespace sys
