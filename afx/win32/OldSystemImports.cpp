// The x86 program starts on Windows 95 and NT 4.0 only if every function it imports exists
// there. The compiler's support libraries import two that Windows 95 lacks: libgcc's thread
// primitives take CreateSemaphoreW, and the C runtime's rand_s shim (for std::random_device,
// which libstdc++ links in) takes GetModuleHandleW and LoadLibraryW. Their import slots are
// defined here instead, so the linker takes neither from kernel32.
#include <windows.h>

#include <cerrno>

#include "sys/Module.h"

namespace {

// libgcc creates only unnamed semaphores; a name would need the wide API.
HANDLE WINAPI CreateUnnamedSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum,
                                     LPCWSTR name) {
    if (name != nullptr) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return nullptr;
    }
    return ::CreateSemaphoreA(attributes, initial, maximum, nullptr);
}

// msvcrt's own rand_s where it has one (Windows XP on); none before.
int __cdecl RandS(unsigned int* value) {
    const std::unique_ptr<sys::Module> msvcrt = sys::SystemModuleLoader().Load("msvcrt.dll");
    const auto own =
        msvcrt ? reinterpret_cast<int(__cdecl*)(unsigned int*)>(msvcrt->Find("rand_s")) : nullptr;
    return own != nullptr ? own(value) : ENOSYS;
}

}  // namespace

// The names are the import slots' own (the i686 decoration included): what the libraries'
// references resolve to.
extern "C" {
__attribute__((used))
HANDLE(WINAPI* importCreateSemaphoreW)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR) __asm__(
    "__imp__CreateSemaphoreW@16") = CreateUnnamedSemaphore;
__attribute__((used)) int(__cdecl* importRandS)(unsigned int*) __asm__("__imp__rand_s") = RandS;
}
