// Dialog creation from the linked template, its texts fitted to the dialog's font, and the
// thread's message loop.
#include "afx/win32/Win32Backend.h"

#include <string>
#include <vector>

#include "afx/Dialog.h"
#include "afx/res/DialogLayout.h"

namespace {

// Posted to a dialog to fit its texts again once a change of dpi has been laid out.
constexpr UINT WM_FIT_TEXTS = WM_APP;

// The window's device context with the window's font selected, both given back at the end.
class FontDC {
public:
    FontDC(HWND hWnd, HFONT font) : m_hWnd(hWnd), m_dc(::GetDC(hWnd)) {
        if (m_dc != nullptr && font != nullptr) m_oldFont = ::SelectObject(m_dc, font);
    }
    ~FontDC() {
        if (m_dc == nullptr) return;
        if (m_oldFont != nullptr) ::SelectObject(m_dc, m_oldFont);
        ::ReleaseDC(m_hWnd, m_dc);
    }
    FontDC(const FontDC&) = delete;
    FontDC& operator=(const FontDC&) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_hWnd;
    HDC m_dc;
    HGDIOBJ m_oldFont = nullptr;
};

bool IsClass(HWND hWnd, const char* name) {
    char found[32] = {};
    return ::GetClassNameA(hWnd, found, sizeof found) > 0 && ::lstrcmpiA(found, name) == 0;
}

// The control's text as shown, in UTF-16, from the narrow text in the program's code page (UTF-8
// where the manifest's takes effect): GDI's narrow functions would read the system's code page.
std::vector<wchar_t> WideTextOf(HWND hWnd, bool noPrefix) {
    std::vector<char> narrow(static_cast<std::size_t>(::GetWindowTextLengthA(hWnd)) + 1);
    const int copied = ::GetWindowTextA(hWnd, narrow.data(), static_cast<int>(narrow.size()));
    const std::string shown = afx::res::StaticDisplayText(
        std::string(narrow.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0), noPrefix);
    const int length = static_cast<int>(shown.size());
    std::vector<wchar_t> wide(shown.size());
    const int converted =
        length > 0 ? ::MultiByteToWideChar(CP_ACP, 0, shown.data(), length, wide.data(), length)
                   : 0;
    wide.resize(converted > 0 ? static_cast<std::size_t>(converted) : 0);
    return wide;
}

// The width a visible one-line text label needs to show its text whole in the dialog's font,
// borders included; 0 for every other control. A label with room for a second line wraps.
int NeededWidth(HWND control, HDC dc) {
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(control, GWL_STYLE));
    const DWORD type = style & SS_TYPEMASK;
    const bool showsText = type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
    if ((style & WS_VISIBLE) == 0 || !showsText || !IsClass(control, "Static")) return 0;
    const std::vector<wchar_t> text = WideTextOf(control, (style & SS_NOPREFIX) != 0);
    SIZE extent{};
    if (text.empty() ||
        !::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent))
        return 0;
    RECT client{};
    ::GetClientRect(control, &client);
    if (client.bottom >= 2 * extent.cy) return 0;
    RECT window{};
    ::GetWindowRect(control, &window);
    return extent.cx + (window.right - window.left) - client.right;
}

// The height SetWindowPos takes: a drop-down list's is the height it has open.
int HeightToSet(HWND control, int height) {
    RECT dropped{};
    if (IsClass(control, "ComboBox") &&
        ::SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)))
        return dropped.bottom - dropped.top;
    return height;
}

// Labels whose text the dialog's font does not fit in the template's rectangle widen their column,
// and the dialog with it, by the rule the Qt back end applies (afx::res::WidenColumns). Where
// every text fits, nothing moves.
void FitTexts(HWND hDlg) {
    std::vector<HWND> controls;
    std::vector<afx::res::PixelRect> rects;
    std::vector<int> needed;
    {
        const FontDC dc(hDlg, reinterpret_cast<HFONT>(::SendMessageA(hDlg, WM_GETFONT, 0, 0)));
        if (dc.get() == nullptr) return;
        for (HWND child = ::GetWindow(hDlg, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            RECT rect{};
            ::GetWindowRect(child, &rect);
            ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rect), 2);
            controls.push_back(child);
            rects.push_back({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
            needed.push_back(NeededWidth(child, dc.get()));
        }
    }
    const std::vector<afx::res::PixelRect> before = rects;
    RECT client{};
    ::GetClientRect(hDlg, &client);
    const int width = afx::res::WidenColumns(rects, needed, client.right);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const afx::res::PixelRect& now = rects[i];
        const bool resized = now.width != before[i].width;
        if (now.x == before[i].x && !resized) continue;
        ::SetWindowPos(controls[i], nullptr, now.x, now.y, now.width,
                       HeightToSet(controls[i], now.height),
                       SWP_NOZORDER | SWP_NOACTIVATE | (resized ? 0 : SWP_NOSIZE));
    }
    if (width != client.right) {
        RECT window{};
        ::GetWindowRect(hDlg, &window);
        ::SetWindowPos(hDlg, nullptr, 0, 0, window.right - window.left + width - client.right,
                       window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DPICHANGED) {
        // Moved onto a monitor of another scale (per-monitor awareness): take the rectangle the
        // system suggests. The dialog manager then scales the dialog's font and lays the controls
        // out again in the template's dialog units; the texts are fitted after that.
        const auto* r = reinterpret_cast<const RECT*>(lParam);
        if (r != nullptr && r->right > r->left && r->bottom > r->top)
            ::SetWindowPos(hWnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        ::PostMessageA(hWnd, WM_FIT_TEXTS, 0, 0);
        return FALSE;
    }
    if (message == WM_FIT_TEXTS) {
        FitTexts(hWnd);
        return TRUE;
    }
    if (message == WM_INITDIALOG) {
        // Before the dialog's own initialisation, which centres the dialog at its final size.
        FitTexts(hWnd);
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        return dialog->HandleInitDialog(hWnd) ? TRUE : FALSE;
    }
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (wnd == nullptr) return FALSE;  // before WM_INITDIALOG: DefDlgProc's business
    LRESULT result = 0;
    if (!AfxCallWndProc(wnd, message, wParam, lParam, &result)) return FALSE;
    // A dialog procedure returns the result of a few messages itself (of those the message maps
    // handle, WM_QUERYDRAGICON's); the rest go through DWLP_MSGRESULT.
    if (message == WM_QUERYDRAGICON) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace

namespace afx_win32 {

bool Win32Backend::RunModal(CDialog& dialog, HWND hWndOwner) {
    HWND hWnd =
        ::CreateDialogParamA(afx_win32::ResourceModule(), MAKEINTRESOURCEA(dialog.GetTemplateId()),
                             hWndOwner, DialogProc, reinterpret_cast<LPARAM>(&dialog));
    if (hWnd == nullptr) return false;
    const bool reenableOwner = hWndOwner && ::IsWindowEnabled(hWndOwner);
    if (reenableOwner) ::EnableWindow(hWndOwner, FALSE);
    if (!dialog.IsModalLoopDone()) ::ShowWindow(hWnd, SW_SHOWNORMAL);
    while (!dialog.IsModalLoopDone() && PumpMessage()) {
    }
    // Enable and activate the owner before the dialog goes, so activation does not jump to
    // another program's window.
    if (reenableOwner) ::EnableWindow(hWndOwner, TRUE);
    if (hWndOwner && ::GetActiveWindow() == hWnd) ::SetActiveWindow(hWndOwner);
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    ::DestroyWindow(hWnd);
    return true;
}

// Keyboard and mouse input only: the dialog's keyboard handling has nothing to do with the rest.
bool Win32Backend::IsDialogMessage(HWND hDlg, MSG* pMsg) {
    if (!hDlg || !pMsg) return false;
    const UINT m = pMsg->message;
    return ((m >= WM_KEYFIRST && m <= WM_KEYLAST) || (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST)) &&
           ::IsDialogMessageA(hDlg, pMsg);
}

bool Win32Backend::PumpMessage() {
    MSG msg;
    const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
        // Leave the quit message for the outermost loop.
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    if (got == -1) return false;
    if (!AfxWalkPreTranslateTree(msg.hwnd, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}

}  // namespace afx_win32
