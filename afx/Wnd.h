#pragma once
// CWnd: a C++ object bound to one window handle, with the window operations the dialog uses; the
// dialog's controls; a window's system menu (CMenu), its painting (CPaintDC) and the device events
// it asks for (CDeviceNotification).
//
// Portable: every member is a thin call into the back end (afx/Backend.h). The back end delivers
// each window message it wants routed through message maps with AfxCallWndProc.

#include <memory>

#include "afx/MessageMap.h"
#include "afx/String.h"
#include "afx/Types.h"

namespace afx {
class DeviceNotification;
class PaintSession;
}  // namespace afx

// A menu handle. Menus here are the window system's (the system menu); nothing owns one.
class CMenu {
public:
    HMENU m_hMenu = nullptr;
    bool AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* lpszNewItem = nullptr);
};

class CWnd : public CCmdTarget {
public:
    // Releases the binding; destroys the window only when this object created it.
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    // The object bound to hWnd, or nullptr. One user-interface thread: no locking.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Binds an existing window to this object, for the window's lifetime.
    bool Attach(HWND hWnd);

    void SetWindowText(const char* text);
    bool EnableWindow(bool enable = true);
    // Removes then adds style bits.
    bool ModifyStyle(DWORD dwRemove, DWORD dwAdd);
    bool SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetWindowRect(CRect* lpRect) const;
    void GetClientRect(CRect* lpRect) const;
    // The whole client area: lpRect must be nullptr.
    void InvalidateRect(const CRect* lpRect, bool bErase = true);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    HICON SetIcon(HICON hIcon, bool bBigIcon);
    // An object kept for the program's life; nullptr when the window has no system menu.
    CMenu* GetSystemMenu(bool bRevert) const;
    bool IsIconic() const;
    bool DestroyWindow();
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse);
    bool KillTimer(UINT_PTR nIDEvent);

    // The window system's default handling of the message being handled.
    LRESULT Default();

    // Offered every queued message for this window or its children before dispatch;
    // true when the message was consumed.
    virtual bool PreTranslateMessage(MSG* pMsg);

protected:
    // Marks the window as created by this object, so the destructor destroys it.
    void SetOwnsWindow() { m_ownsWindow = true; }
    // Unbinds every object whose window no longer exists (after a dialog's window is destroyed).
    static void UnbindDestroyed();

private:
    bool m_ownsWindow = false;
};

// The dialog's controls.
class CStatic : public CWnd {};
class CButton : public CWnd {};

class CComboBox : public CWnd {
public:
    int GetCurSel();
    int SetCurSel(int nSelect);
    int InsertString(int nIndex, const char* text);
    int GetItemHeight(int nIndex);
    void ResetContent();
};

class CToolTipCtrl : public CWnd {
public:
    // Creates the tooltip window, owned by pParentWnd; false when it cannot be created, and then
    // every later operation has no effect.
    bool Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // The whole window of pWnd (nIDTool 0, no rectangle) as a tool whose tip is string nIDText.
    bool AddTool(CWnd* pWnd, UINT nIDText, const CRect* lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    int SetMaxTipWidth(int width);
    void Activate(bool bActivate);
    void RelayEvent(MSG* pMsg);
};

// Painting a window, from construction to destruction, through the back end's paint session.
class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();

    // The device context, for code that passes it on; nullptr where the toolkit has none.
    HDC GetSafeHdc() const;
    // False when nothing is being painted.
    bool DrawIcon(int x, int y, HICON hIcon);

private:
    std::unique_ptr<afx::PaintSession> m_session;
};

// Serial ports coming and going while a window is open. The window system tells every top-level
// window that devices changed (WM_DEVICECHANGE with DBT_DEVNODES_CHANGED); a registration adds what
// the system tells only those who ask: on Windows the arrival and removal of ports and COM-port
// interfaces, on Linux the kernel's tty events. Either way they come as WM_DEVICECHANGE.
class CDeviceNotification {
public:
    CDeviceNotification();
    ~CDeviceNotification();

    // Starts watching for pWnd (again, if it watched another window); false when the system
    // offers nothing beyond its broadcast.
    bool Start(CWnd* pWnd);

private:
    std::unique_ptr<afx::DeviceNotification> m_registration;
};

// Whether a WM_DEVICECHANGE (its wParam and lParam) may concern serial ports.
bool AfxIsPortDeviceChange(UINT nEventType, LPARAM dwData);

// Routes one message to pWnd's maps as the handler of that message (so Default() knows it):
// commands through OnCmdMsg, the rest through the message map, with every exception caught and
// reported in a message box. Returns whether a handler ran; *pResult then holds its result.
bool AfxCallWndProc(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

// Offers pMsg to PreTranslateMessage of hWnd's object and its parents' objects, up to the
// top-level window; true when one consumed it. Back ends call it from their message pump.
bool AfxWalkPreTranslateTree(HWND hWnd, MSG* pMsg);
