// Timers, and the device notifications a window asks for: ports and COM-port interfaces
// arriving and going. Every top-level window gets DBT_DEVNODES_CHANGED anyway.
#include "afx/win32/Win32.h"

#include <dbt.h>

#include "sys/Module.h"

namespace afx_win32 {

namespace {

// GUID_DEVINTERFACE_COMPORT: the interface class of COM ports.
constexpr GUID COMPORT_INTERFACE_CLASS = {
    0x86e0d1e0, 0x8089, 0x11d0, {0x9c, 0xe4, 0x08, 0x00, 0x3e, 0x30, 0x1f, 0x73}};

using RegisterDeviceNotificationFn = HDEVNOTIFY(WINAPI*)(HANDLE, LPVOID, DWORD);
using UnregisterDeviceNotificationFn = BOOL(WINAPI*)(HDEVNOTIFY);

// Registered for the window's lifetime; user32 stays loaded while it is.
class InterfaceWatch : public afx::DeviceWatch {
public:
    InterfaceWatch(std::unique_ptr<sys::Module> user32, UnregisterDeviceNotificationFn unregister,
                   HDEVNOTIFY handle)
        : m_user32(std::move(user32)), m_unregister(unregister), m_handle(handle) {}
    ~InterfaceWatch() override { m_unregister(m_handle); }
    InterfaceWatch(const InterfaceWatch&) = delete;
    InterfaceWatch& operator=(const InterfaceWatch&) = delete;

private:
    std::unique_ptr<sys::Module> m_user32;
    UnregisterDeviceNotificationFn m_unregister;
    HDEVNOTIFY m_handle;
};

}  // namespace

std::unique_ptr<afx::DeviceWatch> Win32Backend::WatchPortDevices(HWND hWnd) {
    if (!hWnd) return nullptr;
    // Looked up, not imported: Windows 95 and NT 4.0 have no device notifications and would
    // refuse to start a program that imports them.
    std::unique_ptr<sys::Module> user32 = sys::SystemModuleLoader().Load("user32.dll");
    if (!user32) return nullptr;
    const auto registerFn =
        reinterpret_cast<RegisterDeviceNotificationFn>(user32->Find("RegisterDeviceNotificationA"));
    const auto unregisterFn = reinterpret_cast<UnregisterDeviceNotificationFn>(
        user32->Find("UnregisterDeviceNotification"));
    if (registerFn == nullptr || unregisterFn == nullptr) return nullptr;

    DEV_BROADCAST_DEVICEINTERFACE_A filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = COMPORT_INTERFACE_CLASS;
    const HDEVNOTIFY handle = registerFn(hWnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (handle == nullptr) return nullptr;
    return std::make_unique<InterfaceWatch>(std::move(user32), unregisterFn, handle);
}

bool Win32Backend::IsPortDeviceChange(UINT event, LPARAM data) {
    if (event == DBT_DEVNODES_CHANGED) return true;
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return false;
    // The system's record: its header says what kind of device it is about.
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    return header != nullptr && (header->dbch_devicetype == DBT_DEVTYP_PORT ||
                                 header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE);
}

bool Win32Backend::SetTimer(HWND hWnd, UINT_PTR id, UINT ms) {
    return hWnd && ::SetTimer(hWnd, id, ms, nullptr) != 0;
}

bool Win32Backend::KillTimer(HWND hWnd, UINT_PTR id) { return hWnd && ::KillTimer(hWnd, id); }

}  // namespace afx_win32
