#include "Windows.h"

#include <algorithm>

namespace driver {
namespace {

constexpr int IDC_TEST = 1001;
constexpr size_t MAX_TEXT = 4096;

struct EnumState {
    std::function<void(HWND)> visit;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM state) {
    reinterpret_cast<EnumState*>(state)->visit(window);
    return TRUE;
}

bool IsDialog(HWND window) { return ClassName(window) == L"#32770"; }

}  // namespace

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, static_cast<int>(sizeof name / sizeof name[0]));
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, SEND_TIMEOUT_MS,
                             &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

std::optional<std::wstring> WindowText(HWND window) {
    const auto length = Send(window, WM_GETTEXTLENGTH, 0, 0);
    if (!length || *length < 0 || static_cast<size_t>(*length) >= MAX_TEXT) return std::nullopt;
    std::wstring text(static_cast<size_t>(*length) + 1, L'\0');
    const auto copied =
        Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    if (!copied || *copied < 0) return std::nullopt;
    text.resize(std::min(static_cast<size_t>(*copied), text.size() - 1));
    return text;
}

HWND FindTesterDialog() {
    HWND found = nullptr;
    EnumState state{[&](HWND window) {
        if (found == nullptr && IsDialog(window) && IsWindowVisible(window) &&
            GetDlgItem(window, IDC_TEST) != nullptr &&
            WindowText(window) == std::wstring(L"Marlox"))
            found = window;
    }};
    EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&state));
    return found;
}

std::vector<HWND> OtherDialogs(HWND tester) {
    std::vector<HWND> dialogs;
    const DWORD process = tester != nullptr ? ProcessOf(tester) : 0;
    EnumState state{[&](HWND window) {
        if (window == tester || !IsDialog(window) || !IsWindowVisible(window)) return;
        // Before the tester shows (a message box from its initialisation), any
        // dialog that is not a tester counts.
        if (tester != nullptr ? ProcessOf(window) == process
                              : GetDlgItem(window, IDC_TEST) == nullptr)
            dialogs.push_back(window);
    }};
    EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&state));
    return dialogs;
}

HWND FindToolTip(HWND tester) {
    HWND found = nullptr;
    EnumState state{[&](HWND window) {
        if (found == nullptr && GetWindow(window, GW_OWNER) == tester &&
            ClassName(window) == L"tooltips_class32")
            found = window;
    }};
    EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&state));
    return found;
}

std::vector<HWND> Children(HWND parent) {
    // Direct children in stacking order, which is the template's order.
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(5);
    }
}

RemoteMemory::RemoteMemory(HANDLE process, size_t size)
    : m_process(process),
      m_address(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)),
      m_size(size) {}

RemoteMemory::~RemoteMemory() {
    if (m_address != nullptr) VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
}

bool RemoteMemory::Write(size_t offset, const void* data, size_t size) {
    SIZE_T done = 0;
    return m_address != nullptr && offset <= m_size && size <= m_size - offset &&
           WriteProcessMemory(m_process, At(offset), data, size, &done) && done == size;
}

bool RemoteMemory::Read(size_t offset, void* data, size_t size) const {
    SIZE_T done = 0;
    return m_address != nullptr && offset <= m_size && size <= m_size - offset &&
           ReadProcessMemory(m_process, At(offset), data, size, &done) && done == size;
}

}  // namespace driver
