// Strings, icons, message boxes and system metrics from user32 and comctl32.
#include "afx/win32/Win32Backend.h"

#include <vector>

#include "sys/Module.h"

namespace afx_win32 {

bool Win32Backend::LoadString(UINT nID, std::string& text) {
    text.clear();
    // LoadStringA cannot tell how long the string is: grow until it fits with room to spare.
    for (std::size_t size = 256; size <= 65536; size *= 4) {
        std::vector<char> buffer(size);
        const int copied = ::LoadStringA(afx_win32::ResourceModule(), nID, buffer.data(),
                                         static_cast<int>(buffer.size()));
        if (copied <= 0) return false;
        if (static_cast<std::size_t>(copied) + 1 < size) {
            text.assign(buffer.data(), static_cast<std::size_t>(copied));
            return true;
        }
    }
    return false;
}

HICON Win32Backend::LoadIcon(UINT nID) {
    // The module that holds the icon group, then a shared handle from it.
    HINSTANCE module = afx_win32::ResourceModule();
    if (!::FindResourceA(module, MAKEINTRESOURCEA(nID), RT_GROUP_ICON)) return nullptr;
    return ::LoadIconA(module, MAKEINTRESOURCEA(nID));
}

int Win32Backend::MessageBox(HWND hWndOwner, const char* text, const char* caption, UINT nType) {
    // Owned by the dialog in front (the About box while it is open), so the box is modal to it.
    HWND owner = hWndOwner && ::IsWindow(hWndOwner) ? ::GetLastActivePopup(hWndOwner) : nullptr;
    // Without a window to own it, the box still blocks the thread's other windows.
    if (owner == nullptr) nType |= MB_TASKMODAL;
    return ::MessageBoxA(owner, text, caption, nType);
}

void Win32Backend::InitCommonControls() {
    // comctl32 6 (the manifest's) registers only the groups of classes it is asked for; the
    // standard set holds the tooltip class. InitCommonControlsEx is looked up, not imported: the
    // common controls of Windows 95 and NT 4.0 may predate it (4.70), and the program would not
    // start there. Those register every class with InitCommonControls.
    const std::unique_ptr<sys::Module> comctl32 = sys::SystemModuleLoader().Load("comctl32.dll");
    const auto initEx = comctl32 ? reinterpret_cast<decltype(&::InitCommonControlsEx)>(
                                       comctl32->Find("InitCommonControlsEx"))
                                 : nullptr;
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    if (initEx == nullptr || !initEx(&controls)) ::InitCommonControls();
}

}  // namespace afx_win32
