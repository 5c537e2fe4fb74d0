#pragma once
// Work spread over threads, for the tools that test several ports at once.

#include <cstddef>
#include <functional>

namespace sys {

// Calls work(0) .. work(count - 1), each on a thread of its own, and returns once every call
// has returned. work must not throw. When a thread cannot be started its call runs on the
// caller's thread instead, so no index is ever skipped.
void RunEachOnItsOwnThread(std::size_t count, const std::function<void(std::size_t)>& work);

}  // namespace sys
