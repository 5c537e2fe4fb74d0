#include "afx/DeviceWatch.h"

#include "afx/Backend.h"
#include "afx/Wnd.h"

CDeviceWatch::CDeviceWatch() = default;
CDeviceWatch::~CDeviceWatch() = default;

bool CDeviceWatch::Start(CWnd* pWnd) {
    m_watch.reset();
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr) return false;
    m_watch = afx::TheBackend().WatchPortDevices(pWnd->m_hWnd);
    return m_watch != nullptr;
}

void CDeviceWatch::Stop() { m_watch.reset(); }

bool AfxIsPortDeviceChange(UINT nEventType, LPARAM dwData) {
    return afx::TheBackend().IsPortDeviceChange(nEventType, dwData);
}
