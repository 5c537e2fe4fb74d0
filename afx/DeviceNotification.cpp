#include "afx/DeviceNotification.h"

#include "afx/Backend.h"
#include "afx/Wnd.h"

CDeviceNotification::CDeviceNotification() = default;
CDeviceNotification::~CDeviceNotification() = default;

bool CDeviceNotification::Start(CWnd* pWnd) {
    m_registration.reset();
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr) return false;
    m_registration = afx::TheBackend().NotifyPortDevices(pWnd->m_hWnd);
    return m_registration != nullptr;
}

bool AfxIsPortDeviceChange(UINT nEventType, LPARAM dwData) {
    return afx::TheBackend().IsPortDeviceChange(nEventType, dwData);
}
