// marlox-wine-driver: drives the Marlox dialog from outside, inside the same
// Wine prefix, and reports what it sees as one JSON object per line.
//
//   marlox-wine-driver.exe STEP...
//     dialog            wait for the tester dialog (needed before the other steps
//                       but popup and sleep)
//     controls          every control of the dialog in template order
//     text ID           one control's text, visibility and enabled state
//     combo             the port list's entries and selection
//     select INDEX      CB_SETCURSEL and CBN_SELCHANGE
//     test              click TEST and wait until the run is over
//     testkey VK        the same, started by a key posted to the focused control
//     focus             the id of the control with the keyboard focus
//     key VK            post a key (down and up) to the focused control
//     gone              wait until the dialog no longer exists
//     syscommand CODE   post WM_SYSCOMMAND with CODE (decimal or 0x...)
//     popup             wait for a message box or About box, read it, close it with OK
//     dialogs           captions of the popups open now
//     tooltips          the tools of the dialog's tooltip and their texts
//     rect              the dialog's window rectangle on the screen
//     layout            the client area's size and every control's rectangle in it, then
//                       the same for the tester's template laid out alone
//     dpichanged DPI L T R B
//                       send WM_DPICHANGED with DPI and the suggested rectangle L, T, R, B
//     close             end the dialog with IDCANCEL
//     devicechange N    post N WM_DEVICECHANGE (DBT_DEVNODES_CHANGED) to the dialog
//     waitcount N       wait until the port list holds N entries
//     sleep MS
// Exit status: 0 when every step ran, 1 when one could not, 2 for a usage error.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "JsonLine.h"
#include "Steps.h"

namespace {

bool ParseNumber(const char* text, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 0);
    return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace driver;
    Session session;
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        const bool needsNumber = step == "text" || step == "select" || step == "syscommand" ||
                                 step == "sleep" || step == "testkey" || step == "key" ||
                                 step == "devicechange" || step == "waitcount";
        long number = 0;
        if (needsNumber && (i + 1 >= argc || !ParseNumber(argv[++i], number))) {
            JsonLine("error").Add("in", step).Add("message", "needs a number").Print();
            return 2;
        }
        if (step != "dialog" && step != "sleep" && step != "popup" && session.tester == nullptr) {
            JsonLine("error").Add("in", step).Add("message", "'dialog' must come first").Print();
            return 2;
        }

        long args[5] = {};
        if (step == "dpichanged") {
            for (long& arg : args) {
                if (i + 1 >= argc || !ParseNumber(argv[++i], arg)) {
                    JsonLine("error").Add("in", step).Add("message", "needs five numbers").Print();
                    return 2;
                }
            }
        }

        bool ok = true;
        if (step == "dialog")
            ok = StepDialog(session);
        else if (step == "controls")
            ok = StepControls(session);
        else if (step == "text")
            ok = StepText(session, static_cast<int>(number));
        else if (step == "combo")
            ok = StepCombo(session);
        else if (step == "select")
            ok = StepSelect(session, static_cast<int>(number));
        else if (step == "test")
            ok = StepTest(session, 0);
        else if (step == "testkey")
            ok = StepTest(session, static_cast<UINT>(number));
        else if (step == "focus")
            ok = StepFocus(session);
        else if (step == "key")
            ok = StepKey(session, static_cast<UINT>(number));
        else if (step == "gone")
            ok = StepGone(session);
        else if (step == "syscommand")
            ok = StepSysCommand(session, static_cast<WPARAM>(number));
        else if (step == "popup")
            ok = StepPopup(session);
        else if (step == "dialogs")
            ok = StepDialogs(session);
        else if (step == "tooltips")
            ok = StepToolTips(session);
        else if (step == "rect")
            ok = StepRect(session);
        else if (step == "layout")
            ok = StepLayout(session);
        else if (step == "dpichanged")
            ok = StepDpiChanged(session, static_cast<int>(args[0]),
                                RECT{args[1], args[2], args[3], args[4]});
        else if (step == "close")
            ok = StepClose(session);
        else if (step == "devicechange")
            ok = StepDeviceChange(session, static_cast<int>(number));
        else if (step == "waitcount")
            ok = StepWaitCount(session, static_cast<int>(number));
        else if (step == "sleep")
            Sleep(static_cast<DWORD>(number));
        else {
            JsonLine("error").Add("in", step).Add("message", "unknown step").Print();
            return 2;
        }
        if (!ok) return 1;
    }
    return 0;
}
