// The device notifications a window asks for: ports and COM-port interfaces arriving and going.
// Every top-level window gets DBT_DEVNODES_CHANGED anyway.
#include "afx/win32/Win32Backend.h"

#include <dbt.h>

#include <algorithm>
#include <iterator>

#include "sys/Module.h"
#include "sys/SetupApi.h"

namespace afx_win32 {

namespace {

// The interface class of COM ports, as discovery asks the setup API for it.
GUID ComPortInterfaceClass() {
    const sys::Guid& id = sys::COMPORT_INTERFACE_CLASS;
    GUID guid{id.data1, id.data2, id.data3, {}};
    std::copy(std::begin(id.data4), std::end(id.data4), std::begin(guid.Data4));
    return guid;
}

using RegisterDeviceNotificationFn = HDEVNOTIFY(WINAPI*)(HANDLE, LPVOID, DWORD);
using UnregisterDeviceNotificationFn = BOOL(WINAPI*)(HDEVNOTIFY);

// Registered for the window's lifetime; user32 stays loaded while it is.
class InterfaceNotification : public afx::DeviceNotification {
public:
    InterfaceNotification(std::unique_ptr<sys::Module> user32,
                          UnregisterDeviceNotificationFn unregister, HDEVNOTIFY handle)
        : m_user32(std::move(user32)), m_unregister(unregister), m_handle(handle) {}
    ~InterfaceNotification() override { m_unregister(m_handle); }
    InterfaceNotification(const InterfaceNotification&) = delete;
    InterfaceNotification& operator=(const InterfaceNotification&) = delete;

private:
    std::unique_ptr<sys::Module> m_user32;
    UnregisterDeviceNotificationFn m_unregister;
    HDEVNOTIFY m_handle;
};

}  // namespace

std::unique_ptr<afx::DeviceNotification> Win32Backend::NotifyPortDevices(HWND hWnd) {
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
    filter.dbcc_classguid = ComPortInterfaceClass();
    const HDEVNOTIFY handle = registerFn(hWnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (handle == nullptr) return nullptr;
    return std::make_unique<InterfaceNotification>(std::move(user32), unregisterFn, handle);
}

bool Win32Backend::IsPortDeviceChange(UINT event, LPARAM data) {
    if (event == DBT_DEVNODES_CHANGED) return true;
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return false;
    // The system's record: its header says what kind of device it is about.
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    return header != nullptr && (header->dbch_devicetype == DBT_DEVTYP_PORT ||
                                 header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE);
}

}  // namespace afx_win32
