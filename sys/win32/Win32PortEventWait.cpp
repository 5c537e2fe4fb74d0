// Ctrl+C, Ctrl+Break and the console closing end the wait; Windows tells a program without a
// window nothing of devices, so the caller looks for itself at every time-out.
#include <windows.h>

#include "sys/PortEventWait.h"

namespace sys {

namespace {

HANDLE g_stopEvent = nullptr;

BOOL WINAPI OnConsoleControl(DWORD) {
    ::SetEvent(g_stopEvent);
    return TRUE;
}

class Win32PortEventWait : public PortEventWait {
public:
    Win32PortEventWait() {
        g_stopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (g_stopEvent != nullptr) ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    }
    ~Win32PortEventWait() override {
        if (g_stopEvent == nullptr) return;
        ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
        ::CloseHandle(g_stopEvent);
        g_stopEvent = nullptr;
    }
    Win32PortEventWait(const Win32PortEventWait&) = delete;
    Win32PortEventWait& operator=(const Win32PortEventWait&) = delete;

    WaitEnd Wait(int timeoutMs) override {
        if (g_stopEvent == nullptr) {
            ::Sleep(static_cast<DWORD>(timeoutMs));
            return WaitEnd::TimedOut;
        }
        return ::WaitForSingleObject(g_stopEvent, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0
                   ? WaitEnd::Stopped
                   : WaitEnd::TimedOut;
    }
};

}  // namespace

std::unique_ptr<PortEventWait> OpenPortEventWait() {
    return std::make_unique<Win32PortEventWait>();
}

}  // namespace sys
