#pragma once
// What a back end (afx/win32, afx/qt) provides: the window-system operations behind the portable
// classes, each typed by what it does and answered in the back end's own terms (the user32 and
// comctl32 calls of the same meaning, or a toolkit's). The dialog code never includes this header.
// The back end registers itself (afx::RegisterBackend) before the framework's main routine runs
// and answers every operation: one it leaves out does not compile. Handles are its own
// (afx/Types.h); nullptr is "none", and an operation on a window that is not there does nothing
// and returns 0, false or empty, as Win32 does.

#include <memory>
#include <string>

#include "afx/Types.h"

class CDialog;

namespace afx {

// Painting one window, from CPaintDC's construction to its destruction (which ends it).
class PaintSession {
public:
    virtual ~PaintSession() = default;
    // The device context, for code that passes it on; nullptr where the toolkit has none.
    virtual HDC Hdc() const = 0;
    virtual bool DrawIcon(int x, int y, HICON icon) = 0;
};

// Serial ports coming and going, told to one window as WM_DEVICECHANGE for as long as this lives.
class DeviceNotification {
public:
    virtual ~DeviceNotification() = default;
};

class Backend {
public:
    Backend() = default;
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;
    virtual ~Backend() = default;

    // Windows.
    virtual HWND GetDlgItem(HWND, int) = 0;
    // A child's parent, a top-level window's owner, or nullptr.
    virtual HWND GetParent(HWND) = 0;
    virtual bool IsWindow(HWND) = 0;
    virtual void SetWindowText(HWND, const char*) = 0;
    // True when the window was disabled before.
    virtual bool EnableWindow(HWND, bool) = 0;
    // Style bits: the window system's own, or WS_VISIBLE alone where a toolkit has no others.
    // True when they changed.
    virtual bool ModifyStyle(HWND hWnd, DWORD remove, DWORD add) = 0;
    virtual bool SetWindowPos(HWND, HWND /*insertAfter*/, int /*x*/, int /*y*/, int /*cx*/,
                              int /*cy*/, UINT /*swpFlags*/) = 0;
    virtual CRect GetWindowRect(HWND) = 0;  // screen coordinates
    virtual CRect GetClientRect(HWND) = 0;
    // The whole client area is to be painted again.
    virtual void Invalidate(HWND, bool /*erase*/) = 0;
    // To the window's handler: for a window bound to an object, as RouteMessage does.
    virtual LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT DefWindowProc(HWND, UINT, WPARAM, LPARAM) = 0;
    // Returns the icon set before.
    virtual HICON SetIcon(HWND, HICON, bool /*big*/) = 0;
    virtual HMENU GetSystemMenu(HWND, bool /*revert*/) = 0;
    // MF_SEPARATOR, or MF_STRING with a command id and its text.
    virtual bool AppendMenu(HMENU, UINT /*flags*/, UINT_PTR /*id*/, const char* /*text*/) = 0;
    virtual bool IsIconic(HWND) = 0;
    // Over the window's owner, or over the screen's work area when it has none.
    virtual void CenterWindow(HWND) = 0;
    virtual bool DestroyWindow(HWND) = 0;
    virtual std::unique_ptr<PaintSession> BeginPaint(HWND) = 0;

    // Drop-down lists. Indexes are 0-based; CB_ERR (negative) for none or a refusal.
    virtual int ComboSelection(HWND) = 0;
    virtual int ComboSelect(HWND, int /*index*/) = 0;
    // At the index given (-1: at the end), never sorted; the index it went to.
    virtual int ComboInsert(HWND, int /*index*/, const char* /*text*/) = 0;
    // The height of one entry (index -1: the selection field).
    virtual int ComboItemHeight(HWND, int /*index*/) = 0;
    // Removes every entry; nothing is selected then.
    virtual void ComboReset(HWND) = 0;

    // Tooltips: tools are whole windows whose tip is a string id, loaded in the user's language
    // when it shows.
    virtual HWND CreateToolTip(HWND /*parent*/, DWORD /*style*/) = 0;
    virtual bool AddTool(HWND /*toolTip*/, HWND /*tool*/, UINT /*textId*/) = 0;
    // Returns the width set before (-1: none).
    virtual int SetMaxTipWidth(HWND, int /*width*/) = 0;
    virtual void ActivateToolTip(HWND, bool) = 0;
    // A tooltip that learns of the mouse only from the messages it is shown gets them here.
    virtual void RelayToolTipEvent(HWND, MSG*) = 0;

    // Dialogs. RunModal creates dialog's window from its template in the user's UI language, owned
    // by owner, and hands it to dialog.HandleInitDialog; then keeps input from the owner, shows
    // the dialog and processes events until dialog.IsModalLoopDone() (or the quit message, left
    // queued), gives the owner back its input and activation and destroys the window. False when
    // the window could not be created.
    virtual bool RunModal(CDialog&, HWND /*owner*/) = 0;
    // EndDialog was called: wake RunModal so it sees IsModalLoopDone().
    virtual void WakeModalLoop(HWND) = 0;
    // The dialog's keyboard handling for a queued message; true when it consumed the message.
    virtual bool IsDialogMessage(HWND, MSG*) = 0;

    // The thread's events. PeekMessage: something is waiting (left waiting). PumpMessage: as
    // CWinThread::PumpMessage.
    virtual bool PeekMessage() = 0;
    virtual bool PumpMessage() = 0;

    // Timers: WM_TIMER with the id to the window every `ms` until killed; setting an id again
    // restarts it. The window's destruction kills its timers.
    virtual bool SetTimer(HWND, UINT_PTR /*id*/, UINT /*ms*/) = 0;
    virtual bool KillTimer(HWND, UINT_PTR /*id*/) = 0;

    // Device events: the window gets WM_DEVICECHANGE when serial ports may have come or gone, by
    // whatever the system offers beyond what it tells every window anyway. nullptr: nothing more.
    virtual std::unique_ptr<DeviceNotification> NotifyPortDevices(HWND) = 0;
    // Whether a WM_DEVICECHANGE event (wParam, lParam) may concern serial ports.
    virtual bool IsPortDeviceChange(UINT event, LPARAM /*data*/) = 0;

    // Resources and the rest of the system.
    virtual bool LoadString(UINT, std::string& text) = 0;
    virtual HICON LoadIcon(UINT) = 0;  // shared; never destroyed
    // Returns the command id of the button that closed it.
    virtual int MessageBox(HWND /*owner*/, const char* /*text*/, const char* /*caption*/,
                           UINT /*type*/) = 0;
    virtual int GetSystemMetrics(int) = 0;
    virtual void InitCommonControls() = 0;
};

// A message to the object bound to the window (its message map), and to backend.DefWindowProc
// when no handler takes it: how a toolkit without window procedures delivers a message.
LRESULT RouteMessage(Backend& backend, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Makes backend the one the framework uses (nullptr: none again). The caller keeps it alive
// while it is registered.
void RegisterBackend(Backend* backend);
// The registered back end; a std::logic_error before one is.
Backend& TheBackend();

}  // namespace afx
