#pragma once
// What a back end (afx/win32, afx/qt) provides: the window-system operations behind the portable
// classes, each typed by what it does. The Win32 back end answers them with the user32 and
// comctl32 calls and messages of the same meaning; another back end answers them in its own
// toolkit's terms. The dialog code never includes this header.
//
// The back end registers itself at start (afx::RegisterBackend), before the framework's main
// routine runs. Until then, and for whatever a back end leaves out, the base class answers: every
// operation does nothing and returns 0, false or empty, as Win32 does for a null window. Handles
// are the back end's own (afx/Types.h); nullptr is "none".

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
    virtual HDC Hdc() const { return nullptr; }
    virtual bool DrawIcon(int x, int y, HICON icon) = 0;
};

// Serial ports coming and going, told to one window as WM_DEVICECHANGE for as long as this lives.
class DeviceWatch {
public:
    virtual ~DeviceWatch() = default;
};

class Backend {
public:
    Backend() = default;
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;
    virtual ~Backend() = default;

    // Windows.
    virtual HWND GetDlgItem(HWND, int) { return nullptr; }
    // A child's parent, a top-level window's owner, or nullptr.
    virtual HWND GetParent(HWND) { return nullptr; }
    virtual bool IsWindow(HWND) { return false; }
    virtual void SetWindowText(HWND, const char*) {}
    virtual std::string GetWindowText(HWND) { return {}; }
    // True when the window was disabled before.
    virtual bool EnableWindow(HWND, bool) { return false; }
    virtual bool IsWindowEnabled(HWND) { return false; }
    // Shown, with every parent shown too.
    virtual bool IsWindowVisible(HWND) { return false; }
    // Shown by its own state, whatever its parent's.
    virtual bool IsShown(HWND) { return false; }
    virtual void Show(HWND, bool) {}
    // Style bits. The portable answer knows WS_VISIBLE only, through IsShown and Show.
    virtual DWORD GetStyle(HWND hWnd);
    virtual bool ModifyStyle(HWND hWnd, DWORD remove, DWORD add, UINT swpFlags);
    virtual bool SetWindowPos(HWND, HWND /*insertAfter*/, int /*x*/, int /*y*/, int /*cx*/,
                              int /*cy*/, UINT /*swpFlags*/) {
        return false;
    }
    virtual CRect GetWindowRect(HWND) { return {}; }  // screen coordinates
    virtual CRect GetClientRect(HWND) { return {}; }
    virtual void InvalidateRect(HWND, const CRect*, bool /*erase*/) {}
    // The portable answer routes the message to the bound object's message map and, when no
    // handler takes it, to DefWindowProc.
    virtual LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(HWND, UINT, WPARAM, LPARAM) { return 0; }
    // Returns the icon set before.
    virtual HICON SetIcon(HWND, HICON, bool /*big*/) { return nullptr; }
    virtual HMENU GetSystemMenu(HWND, bool /*revert*/) { return nullptr; }
    // MF_SEPARATOR, or MF_STRING with a command id and its text.
    virtual bool AppendMenu(HMENU, UINT /*flags*/, UINT_PTR /*id*/, const char* /*text*/) {
        return false;
    }
    virtual bool IsIconic(HWND) { return false; }
    // Over the owner, or over the screen's work area when that is nullptr.
    virtual void CenterWindow(HWND, HWND /*owner*/) {}
    virtual bool DestroyWindow(HWND) { return false; }
    virtual std::unique_ptr<PaintSession> BeginPaint(HWND) { return nullptr; }

    // Drop-down lists. Indexes are 0-based; CB_ERR (negative) for none or a refusal.
    virtual int ComboCount(HWND) { return 0; }
    virtual int ComboSelection(HWND) { return CB_ERR; }
    virtual int ComboSelect(HWND, int /*index*/) { return CB_ERR; }
    // At the index given (-1: at the end), never sorted; the index it went to.
    virtual int ComboInsert(HWND, int /*index*/, const char* /*text*/) { return CB_ERR; }
    // The height of one entry (index -1: the selection field).
    virtual int ComboItemHeight(HWND, int /*index*/) { return 0; }
    // Removes every entry; nothing is selected then.
    virtual void ComboReset(HWND) {}

    // Tooltips: tools are whole windows whose tip is a string id, loaded in the user's language
    // when it shows.
    virtual HWND CreateToolTip(HWND /*parent*/, DWORD /*style*/) { return nullptr; }
    virtual bool AddTool(HWND /*toolTip*/, HWND /*tool*/, UINT /*textId*/) { return false; }
    // Returns the width set before (-1: none).
    virtual int SetMaxTipWidth(HWND, int /*width*/) { return -1; }
    virtual void ActivateToolTip(HWND, bool) {}
    // A tooltip that learns of the mouse only from the messages it is shown gets them here.
    virtual void RelayToolTipEvent(HWND, MSG*) {}

    // Dialogs. RunModal creates dialog's window from its template (language by the user's UI
    // language) with owner as owner and hands it to dialog.HandleInitDialog. It then keeps input
    // from the owner, shows the dialog and processes events until dialog.IsModalLoopDone() (or
    // the quit message, which it leaves queued), gives the owner back its input and activation
    // and destroys the window. False when the window could not be created.
    virtual bool RunModal(CDialog&, HWND /*owner*/) { return false; }
    // EndDialog was called: wake RunModal so it sees IsModalLoopDone().
    virtual void WakeModalLoop(HWND) {}
    // The dialog's keyboard handling for a queued message; true when it consumed the message.
    virtual bool IsDialogMessage(HWND, MSG*) { return false; }

    // The thread's events. PeekMessage: something is waiting (left waiting). PumpMessage: as
    // CWinThread::PumpMessage.
    virtual bool PeekMessage() { return false; }
    virtual bool PumpMessage() { return false; }
    virtual int RunMessageLoop() { return 0; }  // until the quit message; its exit code

    // Timers: WM_TIMER with the id to the window every `ms` until killed; setting an id again
    // restarts it. The window's destruction kills its timers.
    virtual bool SetTimer(HWND, UINT_PTR /*id*/, UINT /*ms*/) { return false; }
    virtual bool KillTimer(HWND, UINT_PTR /*id*/) { return false; }

    // Device events: the window gets WM_DEVICECHANGE when serial ports may have come or gone, by
    // whatever the system offers beyond what it tells every window anyway. nullptr: nothing more.
    virtual std::unique_ptr<DeviceWatch> WatchPortDevices(HWND) { return nullptr; }
    // Whether a WM_DEVICECHANGE event (wParam, lParam) may concern serial ports.
    virtual bool IsPortDeviceChange(UINT event, LPARAM /*data*/) {
        return event == DBT_DEVNODES_CHANGED;
    }

    // Resources and the rest of the system.
    virtual bool LoadString(UINT, std::string& text) {
        text.clear();
        return false;
    }
    virtual HICON LoadIcon(UINT) { return nullptr; }  // shared; never destroyed
    // Returns the command id of the button that closed it.
    virtual int MessageBox(HWND /*owner*/, const char* /*text*/, const char* /*caption*/,
                           UINT /*type*/) {
        return IDOK;
    }
    virtual int GetSystemMetrics(int) { return 0; }
    virtual void InitCommonControls() {}
};

// Makes backend the one the framework uses (nullptr: none again). The caller keeps it alive
// while it is registered.
void RegisterBackend(Backend* backend);
Backend& TheBackend();

}  // namespace afx
