// Labels whose text the dialog's font does not fit in the template's rectangle widen their column,
// and the dialog with it, by the rule the Qt back end applies (afx::res::WidenColumns). Where
// every text fits, nothing moves.
#include <string>
#include <vector>

#include "afx/res/DialogLayout.h"
#include "afx/win32/Win32Backend.h"

namespace afx_win32 {

namespace {

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

}  // namespace

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

}  // namespace afx_win32
