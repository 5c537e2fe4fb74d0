// Looking at the windows of another process: finding them, reading their texts,
// and memory in that process for messages whose parameters are pointers.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace driver {

// How long a message to the program under test may take before the driver gives up.
constexpr UINT SEND_TIMEOUT_MS = 5000;

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

std::wstring ClassName(HWND window);
DWORD ProcessOf(HWND window);

// Sends a message that carries no pointer; nullopt when the program does not answer in time.
std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_GETTEXTLENGTH + WM_GETTEXT (W, marshalled by the system); nullopt on time-out.
std::optional<std::wstring> WindowText(HWND window);

// Top-level dialog (#32770) captioned "Marlox" with a TEST button, visible.
HWND FindTesterDialog();
// Visible top-level dialogs of the tester's process other than the tester itself:
// message boxes and the About box. With no tester yet: every visible dialog
// without a TEST button.
std::vector<HWND> OtherDialogs(HWND tester);
// The tooltip window owned by the tester dialog.
HWND FindToolTip(HWND tester);
std::vector<HWND> Children(HWND parent);

// Polls until the condition holds or the time is up; returns the last result.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs);

// A block of memory in another process, freed on destruction.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool Valid() const { return m_address != nullptr; }
    // Address of a byte inside the block, as the other process sees it.
    void* At(size_t offset) const { return static_cast<char*>(m_address) + offset; }
    bool Write(size_t offset, const void* data, size_t size);
    bool Read(size_t offset, void* data, size_t size) const;

private:
    HANDLE m_process;
    void* m_address;
    size_t m_size;
};

}  // namespace driver
