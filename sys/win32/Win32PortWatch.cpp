// Ctrl+C, Ctrl+Break and the console closing stop the watch; Windows tells a program without a
// window nothing of devices, so the caller looks for itself at every time-out.
#include <windows.h>

#include "sys/PortWatch.h"

namespace sys {

namespace {

HANDLE g_stopEvent = nullptr;

BOOL WINAPI OnConsoleControl(DWORD) {
    ::SetEvent(g_stopEvent);
    return TRUE;
}

class Win32PortWatch : public PortWatch {
public:
    Win32PortWatch() {
        g_stopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (g_stopEvent != nullptr) ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    }
    ~Win32PortWatch() override {
        if (g_stopEvent == nullptr) return;
        ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
        ::CloseHandle(g_stopEvent);
        g_stopEvent = nullptr;
    }
    Win32PortWatch(const Win32PortWatch&) = delete;
    Win32PortWatch& operator=(const Win32PortWatch&) = delete;

    WatchWake Wait(int timeoutMs) override {
        if (g_stopEvent == nullptr) {
            ::Sleep(static_cast<DWORD>(timeoutMs));
            return WatchWake::TimedOut;
        }
        return ::WaitForSingleObject(g_stopEvent, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0
                   ? WatchWake::Stopped
                   : WatchWake::TimedOut;
    }
};

}  // namespace

std::unique_ptr<PortWatch> OpenPortWatch() { return std::make_unique<Win32PortWatch>(); }

std::unique_ptr<DiscoveryPlatform> DiscoveryPlatformUnder(const std::string&) { return nullptr; }

}  // namespace sys
