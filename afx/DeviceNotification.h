#pragma once
// Serial ports coming and going while a window is open. The window system tells every top-level
// window that devices changed (WM_DEVICECHANGE with DBT_DEVNODES_CHANGED); a registration adds what
// the system tells only those who ask: on Windows the arrival and removal of ports and COM-port
// interfaces, on Linux the kernel's tty events. Either way they come as WM_DEVICECHANGE.

#include <memory>

#include "afx/Types.h"

class CWnd;

namespace afx {
class DeviceNotification;
}

class CDeviceNotification {
public:
    CDeviceNotification();
    ~CDeviceNotification();
    CDeviceNotification(const CDeviceNotification&) = delete;
    CDeviceNotification& operator=(const CDeviceNotification&) = delete;

    // Starts watching for pWnd (again, if it watched another window); false when the system
    // offers nothing beyond its broadcast.
    bool Start(CWnd* pWnd);

private:
    std::unique_ptr<afx::DeviceNotification> m_registration;
};

// Whether a WM_DEVICECHANGE (its wParam and lParam) may concern serial ports.
bool AfxIsPortDeviceChange(UINT nEventType, LPARAM dwData);
