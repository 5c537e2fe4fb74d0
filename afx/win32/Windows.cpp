// Window operations: each a direct call of the user32 function of the same name.
#include "afx/win32/Win32Backend.h"

#include <algorithm>

#include "sys/Module.h"

namespace afx_win32 {

namespace {

// The work area of the monitor the window is on. The monitor functions are looked up, not
// imported: Windows 95 and NT 4.0 lack them (and know one monitor, whose work area is the
// system's), and would refuse to start a program that imports them.
RECT WorkArea(HWND hWnd) {
    RECT area{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const std::unique_ptr<sys::Module> user32 = sys::SystemModuleLoader().Load("user32.dll");
    if (!user32) return area;
    const auto monitorFromWindow =
        reinterpret_cast<decltype(&::MonitorFromWindow)>(user32->Find("MonitorFromWindow"));
    const auto getMonitorInfo =
        reinterpret_cast<decltype(&::GetMonitorInfoA)>(user32->Find("GetMonitorInfoA"));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (monitorFromWindow != nullptr && getMonitorInfo != nullptr &&
        getMonitorInfo(monitorFromWindow(hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor))
        area = monitor.rcWork;
    return area;
}

// Painting through BeginPaint/EndPaint, for as long as the session lives.
class Win32PaintSession : public afx::PaintSession {
public:
    explicit Win32PaintSession(HWND hWnd) : m_hWnd(hWnd), m_hDC(::BeginPaint(hWnd, &m_paint)) {}
    ~Win32PaintSession() override {
        if (m_hDC) ::EndPaint(m_hWnd, &m_paint);
    }
    Win32PaintSession(const Win32PaintSession&) = delete;
    Win32PaintSession& operator=(const Win32PaintSession&) = delete;

    HDC Hdc() const override { return m_hDC; }
    bool DrawIcon(int x, int y, HICON icon) override {
        return m_hDC && icon && ::DrawIcon(m_hDC, x, y, icon);
    }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_paint{};
    HDC m_hDC;
};

}  // namespace

bool Win32Backend::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd) {
    if (!hWnd) return false;
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE));
    const DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle) return false;
    ::SetWindowLongPtrA(hWnd, GWL_STYLE, static_cast<LONG_PTR>(newStyle));
    return true;
}

CRect Win32Backend::GetWindowRect(HWND hWnd) {
    RECT r{};
    if (hWnd) ::GetWindowRect(hWnd, &r);
    return CRect(r.left, r.top, r.right, r.bottom);
}

CRect Win32Backend::GetClientRect(HWND hWnd) {
    RECT r{};
    if (hWnd) ::GetClientRect(hWnd, &r);
    return CRect(r.left, r.top, r.right, r.bottom);
}

HICON Win32Backend::SetIcon(HWND hWnd, HICON icon, bool big) {
    if (!hWnd) return nullptr;
    return reinterpret_cast<HICON>(::SendMessageA(hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                  reinterpret_cast<LPARAM>(icon)));
}

void Win32Backend::CenterWindow(HWND hWnd) {
    if (!hWnd) return;
    const HWND hWndOwner = ::GetParent(hWnd);
    const bool overOwner = hWndOwner && ::IsWindowVisible(hWndOwner) && !::IsIconic(hWndOwner);
    const RECT work = WorkArea(overOwner ? hWndOwner : hWnd);
    RECT area = work;
    if (overOwner) ::GetWindowRect(hWndOwner, &area);
    RECT window{};
    ::GetWindowRect(hWnd, &window);
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    // The whole dialog stays on the screen when its owner sits near an edge.
    const LONG x =
        std::max(work.left, std::min((area.left + area.right - width) / 2, work.right - width));
    const LONG y =
        std::max(work.top, std::min((area.top + area.bottom - height) / 2, work.bottom - height));
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::unique_ptr<afx::PaintSession> Win32Backend::BeginPaint(HWND hWnd) {
    if (!hWnd) return nullptr;
    return std::make_unique<Win32PaintSession>(hWnd);
}

}  // namespace afx_win32
