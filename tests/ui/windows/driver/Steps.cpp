#include "Steps.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "JsonLine.h"
#include "Windows.h"

namespace driver {
namespace {

constexpr int IDC_PORT = 1000;
constexpr int IDC_TEST = 1001;
constexpr int IDC_PROTECTION_ICON = 1007;
constexpr DWORD START_TIMEOUT_MS = 30000;
constexpr DWORD POPUP_TIMEOUT_MS = 5000;
// A test that neither disables TEST nor shows a message box by then did not start.
constexpr ULONGLONG TEST_START_TIMEOUT_MS = 10000;
constexpr ULONGLONG TEST_RUN_TIMEOUT_MS = 60000;
constexpr size_t MAX_COMBO_TEXT = 1024;
constexpr size_t TOOL_TEXT_SIZE = 1024;
constexpr DWORD REFILL_TIMEOUT_MS = 5000;
constexpr WPARAM DEVNODES_CHANGED = 0x0007;  // dbt.h's DBT_DEVNODES_CHANGED

void Fail(const char* step, const std::string& message) {
    JsonLine("error").Add("in", step).Add("message", message).Print();
}

std::string TextOrEmpty(HWND window) {
    const auto text = WindowText(window);
    return text ? Utf8(*text) : std::string();
}

std::string ChildTexts(HWND parent) {
    std::string array = "[";
    for (HWND child : Children(parent)) {
        if (array.size() > 1) array += ",";
        array += JsonString(TextOrEmpty(child));
    }
    return array + "]";
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                              : nullptr;
}

// Posted to the focused control, as the keyboard would deliver it: the
// program's message loop and its dialog keyboard handling see it.
bool PostKey(HWND tester, UINT key) {
    HWND focus = FocusOf(tester);
    return focus != nullptr && PostMessageW(focus, WM_KEYDOWN, key, 1) &&
           PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

}  // namespace

bool StepDialog(Session& session) {
    const ULONGLONG start = GetTickCount64();
    WaitFor([&] { return (session.tester = FindTesterDialog()) != nullptr; }, START_TIMEOUT_MS);
    if (session.tester == nullptr) {
        Fail("dialog", "no visible dialog captioned \"Marlox\" with a TEST button");
        return false;
    }
    JsonLine("dialog").Add("ms", static_cast<long long>(GetTickCount64() - start)).Print();
    return true;
}

bool StepControls(const Session& session) {
    int index = 0;
    for (HWND child : Children(session.tester)) {
        const auto text = WindowText(child);
        if (!text) {
            Fail("controls", "the dialog does not answer WM_GETTEXT");
            return false;
        }
        JsonLine("control")
            .Add("index", index++)
            .Add("id", static_cast<short>(GetDlgCtrlID(child)))
            .Add("class", Utf8(ClassName(child)))
            .Add("text", Utf8(*text))
            .AddBool("visible", IsWindowVisible(child) != FALSE)
            .AddBool("enabled", IsWindowEnabled(child) != FALSE)
            .Print();
    }
    return true;
}

bool StepText(const Session& session, int id) {
    HWND control = GetDlgItem(session.tester, id);
    const auto text = control != nullptr ? WindowText(control) : std::nullopt;
    if (!text) {
        Fail("text", "no control " + std::to_string(id) + " or no answer");
        return false;
    }
    JsonLine("text")
        .Add("id", id)
        .Add("text", Utf8(*text))
        .AddBool("visible", IsWindowVisible(control) != FALSE)
        .AddBool("enabled", IsWindowEnabled(control) != FALSE)
        .Print();
    return true;
}

bool StepCombo(const Session& session) {
    HWND combo = GetDlgItem(session.tester, IDC_PORT);
    const auto count = combo != nullptr ? Send(combo, CB_GETCOUNT, 0, 0) : std::nullopt;
    const auto selected = combo != nullptr ? Send(combo, CB_GETCURSEL, 0, 0) : std::nullopt;
    if (!count || !selected || *count < 0) {
        Fail("combo", "the port list does not answer");
        return false;
    }
    std::string items = "[";
    for (LRESULT i = 0; i < *count; ++i) {
        const auto length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (!length || *length < 0 || static_cast<size_t>(*length) >= MAX_COMBO_TEXT) {
            Fail("combo", "item " + std::to_string(i) + " has no readable text");
            return false;
        }
        std::wstring text(static_cast<size_t>(*length) + 1, L'\0');
        const auto copied = Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                 reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied && *copied >= 0 ? std::min(static_cast<size_t>(*copied), text.size() - 1)
                                           : 0);
        items += (i > 0 ? "," : "") + JsonString(Utf8(text));
    }
    // The closed size, the selection field's height and the size the list
    // takes when it drops down.
    RECT closed{};
    RECT dropped{};
    GetWindowRect(combo, &closed);
    const auto fieldHeight = Send(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    const auto gotDropped =
        Send(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    JsonLine("combo")
        .Add("count", *count)
        .Add("selected", *selected)
        .AddRaw("items", items + "]")
        .Add("height", closed.bottom - closed.top)
        .Add("fieldHeight", fieldHeight.value_or(-1))
        .Add("droppedHeight", gotDropped ? dropped.bottom - dropped.top : -1)
        .Print();
    return true;
}

bool StepSelect(const Session& session, int index) {
    HWND combo = GetDlgItem(session.tester, IDC_PORT);
    if (combo == nullptr || !Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0) ||
        !Send(session.tester, WM_COMMAND, MAKEWPARAM(IDC_PORT, CBN_SELCHANGE),
              reinterpret_cast<LPARAM>(combo))) {
        Fail("select", "the port list does not answer");
        return false;
    }
    const auto selected = Send(combo, CB_GETCURSEL, 0, 0);
    JsonLine("select").Add("index", index).Add("selected", selected ? *selected : -1).Print();
    return true;
}

bool StepFocus(const Session& session) {
    HWND focus = FocusOf(session.tester);
    JsonLine("focus")
        .Add("id", focus != nullptr ? static_cast<short>(GetDlgCtrlID(focus)) : 0)
        .Print();
    return true;
}

bool StepKey(const Session& session, UINT key) {
    if (!PostKey(session.tester, key)) {
        Fail("key", "no focused control to send the key to");
        return false;
    }
    JsonLine("key").Add("key", key).Print();
    return true;
}

bool StepGone(const Session& session) {
    const bool gone = WaitFor([&] { return !IsWindow(session.tester); }, POPUP_TIMEOUT_MS);
    JsonLine("gone").AddBool("gone", gone).Print();
    return true;
}

bool StepTest(const Session& session, UINT key) {
    // The click (or key) is posted: a sent BM_CLICK would not return before the
    // whole test has run. While it runs the program pumps only at two points,
    // so everything here is read from window state, never by messages.
    HWND button = GetDlgItem(session.tester, IDC_TEST);
    HWND icon = GetDlgItem(session.tester, IDC_PROTECTION_ICON);
    if (button == nullptr || icon == nullptr) {
        Fail("test", "no TEST button or protection icon");
        return false;
    }
    bool iconVisible = IsWindowVisible(icon) != FALSE;
    std::string iconStates = iconVisible ? "[true" : "[false";
    bool running = false;
    const char* outcome = "timeout";
    const ULONGLONG start = GetTickCount64();
    if (key != 0 ? !PostKey(session.tester, key) : !PostMessageW(button, BM_CLICK, 0, 0)) {
        Fail("test", "cannot post the click or key");
        return false;
    }
    for (;;) {
        const ULONGLONG elapsed = GetTickCount64() - start;
        const bool visible = IsWindowVisible(icon) != FALSE;
        if (visible != iconVisible) {
            iconVisible = visible;
            iconStates += visible ? ",true" : ",false";
        }
        if (!IsWindow(button)) {
            outcome = "gone";
            break;
        }
        if (!IsWindowEnabled(button)) {
            running = true;
        } else if (running) {
            outcome = "ran";
            break;
        } else if (!OtherDialogs(session.tester).empty()) {
            outcome = "popup";
            break;
        } else if (elapsed > TEST_START_TIMEOUT_MS) {
            outcome = "nothing";
            break;
        }
        if (elapsed > TEST_RUN_TIMEOUT_MS) break;
        Sleep(1);
    }
    JsonLine("test")
        .Add("outcome", outcome)
        .Add("ms", static_cast<long long>(GetTickCount64() - start))
        .AddRaw("icon", iconStates + "]")
        .Print();
    return IsWindow(session.tester) != FALSE;
}

bool StepSysCommand(const Session& session, WPARAM command) {
    // Posted: the About box runs modally inside the handler.
    if (!PostMessageW(session.tester, WM_SYSCOMMAND, command, 0)) {
        Fail("syscommand", "cannot post to the dialog");
        return false;
    }
    JsonLine("syscommand").Add("command", static_cast<long long>(command)).Print();
    return true;
}

bool StepPopup(const Session& session) {
    // Without the tester, the popup comes from the program's start, which may
    // take as long as the tester's own appearance.
    HWND popup = nullptr;
    WaitFor(
        [&] {
            const auto dialogs = OtherDialogs(session.tester);
            popup = dialogs.empty() ? nullptr : dialogs.front();
            return popup != nullptr;
        },
        session.tester != nullptr ? POPUP_TIMEOUT_MS : START_TIMEOUT_MS);
    if (popup == nullptr) {
        JsonLine("popup").AddBool("found", false).Print();
        return true;
    }
    // A message box holds an icon and its text in static controls; the text is
    // the first static that is not an icon (an icon's text is its resource id).
    std::string text;
    std::string buttons = "[";
    for (HWND child : Children(popup)) {
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        const std::wstring kind = ClassName(child);
        if (text.empty() && kind == L"Static" && (style & SS_TYPEMASK) != SS_ICON)
            text = TextOrEmpty(child);
        if (kind == L"Button" && IsWindowVisible(child))
            buttons += (buttons.size() > 1 ? "," : "") + JsonString(TextOrEmpty(child));
    }
    const bool owned = GetWindow(popup, GW_OWNER) == session.tester;
    const bool testerEnabled = IsWindowEnabled(session.tester) != FALSE;
    const std::string caption = TextOrEmpty(popup);
    const std::string texts = ChildTexts(popup);

    HWND ok = GetDlgItem(popup, IDOK);
    PostMessageW(popup, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    const bool closed =
        WaitFor([&] { return !IsWindow(popup) || !IsWindowVisible(popup); }, POPUP_TIMEOUT_MS);
    JsonLine("popup")
        .AddBool("found", true)
        .Add("caption", caption)
        .Add("text", text)
        .AddRaw("texts", texts)
        .AddRaw("buttons", buttons + "]")
        .AddBool("ownedByTester", session.tester != nullptr && owned)
        .AddBool("testerEnabled", testerEnabled)
        .AddBool("closed", closed)
        .Print();
    return closed;
}

bool StepDialogs(const Session& session) {
    std::string captions = "[";
    for (HWND dialog : OtherDialogs(session.tester))
        captions += (captions.size() > 1 ? "," : "") + JsonString(TextOrEmpty(dialog));
    JsonLine("dialogs").AddRaw("captions", captions + "]").Print();
    return true;
}

bool StepToolTips(const Session& session) {
    HWND tip = FindToolTip(session.tester);
    if (tip == nullptr) {
        JsonLine("tooltips").AddBool("found", false).Print();
        return true;
    }
    const auto count = Send(tip, TTM_GETTOOLCOUNT, 0, 0);
    const auto maxWidth = Send(tip, TTM_GETMAXTIPWIDTH, 0, 0);
    if (!count || !maxWidth || *count < 0) {
        Fail("tooltips", "the tooltip does not answer");
        return false;
    }
    JsonLine("tooltips")
        .AddBool("found", true)
        .Add("count", *count)
        .Add("maxWidth", *maxWidth)
        .Print();

    // TOOLINFOW holds pointers, which the system does not marshal for tooltip
    // messages: the structure and the text buffer live in the program's memory.
    // The W messages give the texts as the tooltip holds them, whatever code page
    // the program's narrow API uses.
    UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                     FALSE, ProcessOf(tip)));
    constexpr size_t TEXT_BYTES = TOOL_TEXT_SIZE * sizeof(wchar_t);
    RemoteMemory remote(process.get(), sizeof(TOOLINFOW) + TEXT_BYTES);
    if (!process || !remote.Valid()) {
        Fail("tooltips", "no access to the program's memory");
        return false;
    }
    for (LRESULT i = 0; i < *count; ++i) {
        TOOLINFOW info{};
        info.cbSize = sizeof info;
        const std::vector<char> zeros(TEXT_BYTES, '\0');
        if (!remote.Write(0, &info, sizeof info) ||
            Send(tip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(remote.At(0)))
                    .value_or(0) == 0 ||
            !remote.Read(0, &info, sizeof info)) {
            Fail("tooltips", "TTM_ENUMTOOLSW failed for tool " + std::to_string(i));
            return false;
        }
        const bool idIsWindow = (info.uFlags & TTF_IDISHWND) != 0;
        const int controlId = idIsWindow ? GetDlgCtrlID(reinterpret_cast<HWND>(info.uId))
                                         : static_cast<int>(info.uId);

        info.lpszText = static_cast<LPWSTR>(remote.At(sizeof info));
        std::vector<wchar_t> text(TOOL_TEXT_SIZE, L'\0');
        if (!remote.Write(sizeof info, zeros.data(), zeros.size()) ||
            !remote.Write(0, &info, sizeof info) ||
            !Send(tip, TTM_GETTEXTW, TOOL_TEXT_SIZE, reinterpret_cast<LPARAM>(remote.At(0))) ||
            !remote.Read(sizeof info, text.data(), TEXT_BYTES)) {
            Fail("tooltips", "TTM_GETTEXTW failed for tool " + std::to_string(i));
            return false;
        }
        text.back() = L'\0';
        JsonLine("tool")
            .Add("index", i)
            .AddBool("idIsWindow", idIsWindow)
            .AddBool("subclass", (info.uFlags & TTF_SUBCLASS) != 0)
            .Add("id", controlId)
            .Add("text", Utf8(std::wstring(text.data())))
            .Print();
    }
    return true;
}

bool StepRect(const Session& session) {
    RECT rect{};
    if (!GetWindowRect(session.tester, &rect)) {
        Fail("rect", "no window rectangle");
        return false;
    }
    JsonLine("rect")
        .Add("left", rect.left)
        .Add("top", rect.top)
        .Add("right", rect.right)
        .Add("bottom", rect.bottom)
        .Print();
    return true;
}

bool StepDeviceChange(Session& session, int count) {
    for (int i = 0; i < count; ++i) {
        if (!PostMessageW(session.tester, WM_DEVICECHANGE, DEVNODES_CHANGED, 0)) {
            Fail("devicechange", "cannot post to the dialog");
            return false;
        }
    }
    session.deviceChangeAt = GetTickCount64();
    JsonLine("devicechange").Add("count", count).Print();
    return true;
}

bool StepWaitCount(const Session& session, int count) {
    HWND combo = GetDlgItem(session.tester, IDC_PORT);
    // Each answer with a time-out: the dialog may be listing ports right now.
    const bool reached = WaitFor(
        [&] {
            const auto now = combo != nullptr ? Send(combo, CB_GETCOUNT, 0, 0) : std::nullopt;
            return now && *now == count;
        },
        REFILL_TIMEOUT_MS);
    JsonLine("waitcount")
        .Add("count", count)
        .AddBool("reached", reached)
        .Add("ms", static_cast<long long>(GetTickCount64() - session.deviceChangeAt))
        .Print();
    return true;
}

namespace {

constexpr int IDD_TESTER_DIALOG = 102;

INT_PTR CALLBACK TemplateProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

void PrintLayout(HWND dialog, const char* clientStep, const char* itemStep, HFONT font) {
    RECT client{};
    GetClientRect(dialog, &client);
    JsonLine(clientStep).Add("width", client.right).Add("height", client.bottom).Print();
    for (HWND child : Children(dialog)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        JsonLine line(itemStep);
        line.Add("id", static_cast<short>(GetDlgCtrlID(child)))
            .Add("class", Utf8(ClassName(child)))
            .AddBool("visible", IsWindowVisible(child) != FALSE)
            .Add("left", rect.left)
            .Add("top", rect.top)
            .Add("right", rect.right)
            .Add("bottom", rect.bottom);
        // A static text's width in the dialog's font (GetTextExtentPoint32), and its client width.
        const auto text = WindowText(child);
        if (ClassName(child) == L"Static" && text && !text->empty() &&
            (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            HDC dc = GetDC(nullptr);
            HGDIOBJ old = SelectObject(dc, font);
            SIZE extent{-1, -1};
            GetTextExtentPoint32W(dc, text->c_str(), static_cast<int>(text->size()), &extent);
            SelectObject(dc, old);
            ReleaseDC(nullptr, dc);
            GetClientRect(child, &rect);
            line.Add("text", Utf8(*text))
                .Add("textWidth", extent.cx)
                .Add("clientWidth", rect.right);
        }
        line.Print();
    }
}

}  // namespace

bool StepLayout(const Session& session) {
    // The tester's template laid out by the dialog manager alone, with none of the program's code:
    // a hidden copy made here from the program's file, at the same dpi and fonts. Its font
    // measures the texts (a font handle of the program's cannot be used in this process).
    UniqueHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ProcessOf(session.tester)));
    wchar_t path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    const std::unique_ptr<HINSTANCE__, decltype(&FreeLibrary)> module(
        process && QueryFullProcessImageNameW(process.get(), 0, path, &length)
            ? LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)
            : nullptr,
        &FreeLibrary);
    const std::unique_ptr<HWND__, decltype(&DestroyWindow)> copy(
        module ? CreateDialogParamW(module.get(), MAKEINTRESOURCEW(IDD_TESTER_DIALOG), nullptr,
                                    TemplateProc, 0)
               : nullptr,
        &DestroyWindow);
    if (!copy) {
        Fail("layout", "cannot lay out the program's template here");
        return false;
    }
    const auto font = reinterpret_cast<HFONT>(SendMessageW(copy.get(), WM_GETFONT, 0, 0));
    PrintLayout(session.tester, "client", "item", font);
    PrintLayout(copy.get(), "templateclient", "templateitem", font);
    return true;
}

bool StepDpiChanged(const Session& session, int dpi, const RECT& suggested) {
    // The rectangle travels by pointer, which the system does not marshal for this message:
    // it lives in the program's memory.
    UniqueHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, ProcessOf(session.tester)));
    RemoteMemory remote(process.get(), sizeof suggested);
    if (!process || !remote.Valid() || !remote.Write(0, &suggested, sizeof suggested)) {
        Fail("dpichanged", "no access to the program's memory");
        return false;
    }
    const auto answered = Send(session.tester, WM_DPICHANGED,
                               MAKEWPARAM(static_cast<WORD>(dpi), static_cast<WORD>(dpi)),
                               reinterpret_cast<LPARAM>(remote.At(0)));
    JsonLine("dpichanged").AddBool("answered", answered.has_value()).Print();
    return answered.has_value();
}

bool StepClose(const Session& session) {
    PostMessageW(session.tester, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    const bool closed = WaitFor([&] { return !IsWindow(session.tester); }, POPUP_TIMEOUT_MS);
    JsonLine("close").AddBool("closed", closed).Print();
    return closed;
}

}  // namespace driver
