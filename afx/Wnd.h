#pragma once
// CWnd: a C++ object bound to one window handle, with the window operations the dialog uses.
//
// Portable: every member is a thin call into the back end (afx/Backend.h). The back end delivers
// each window message it wants routed through message maps with AfxCallWndProc.

#include "afx/MessageMap.h"
#include "afx/String.h"
#include "afx/Types.h"

class CMenu;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    // Releases the binding; destroys the window only when this object created it.
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to hWnd, or nullptr; a handle bound to no object gets a temporary one
    // that lives until the next call with another unbound handle (FromHandle only).
    static CWnd* FromHandlePermanent(HWND hWnd);
    static CWnd* FromHandle(HWND hWnd);

    // Binds an existing window to this object (for the window's lifetime or until Detach).
    bool Attach(HWND hWnd);
    HWND Detach();

    CWnd* GetDlgItem(int nID) const;
    CWnd* GetParent() const;

    void SetWindowText(const char* text);
    void GetWindowText(CString& text) const;
    bool EnableWindow(bool enable = true);
    bool IsWindowEnabled() const;
    bool IsWindowVisible() const;
    DWORD GetStyle() const;
    // Removes then adds style bits; nFlags, when not 0, are SWP_ flags for a frame refresh.
    bool ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    bool SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetWindowRect(CRect* lpRect) const;  // screen coordinates
    void GetClientRect(CRect* lpRect) const;
    void InvalidateRect(const CRect* lpRect, bool bErase = true);
    void Invalidate(bool bErase = true) { InvalidateRect(nullptr, bErase); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    HICON SetIcon(HICON hIcon, bool bBigIcon);
    CMenu* GetSystemMenu(bool bRevert) const;
    bool IsIconic() const;
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    bool DestroyWindow();
    // WM_TIMER with nIDEvent every nElapse ms until KillTimer; the same id again restarts it.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse);
    bool KillTimer(UINT_PTR nIDEvent);

    // The window system's default handling of the message being handled.
    LRESULT Default();

    // Offered every queued message for this window or its children before dispatch;
    // true when the message was consumed.
    virtual bool PreTranslateMessage(MSG* pMsg);

    // Routes one message: commands through OnCommand, everything else through the message map.
    // Returns true when a handler ran; *pResult then holds its result.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);

protected:
    // Marks the window as created by this object, so the destructor destroys it.
    void SetOwnsWindow() { m_ownsWindow = true; }

private:
    bool m_ownsWindow = false;
};

// Routes one message to pWnd's maps as the handler of that message (so Default() knows it), with
// every exception caught and reported in a message box. Returns whether a handler ran.
bool AfxCallWndProc(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

// Offers pMsg to PreTranslateMessage of hWnd's object and its parents' objects, up to the
// top-level window; true when one consumed it. Back ends call it from their message pump.
bool AfxWalkPreTranslateTree(HWND hWnd, MSG* pMsg);
