// The driver's steps. Each reports what it saw as one or more JSON lines and
// returns false when the run cannot go on (the dialog is gone or not answering).
#pragma once

#include <windows.h>

namespace driver {

struct Session {
    HWND tester = nullptr;
    ULONGLONG deviceChangeAt = 0;  // when the last device-change burst was posted
};

bool StepDialog(Session& session);
bool StepControls(const Session& session);
bool StepText(const Session& session, int id);
bool StepCombo(const Session& session);
bool StepSelect(const Session& session, int index);
// key 0: click TEST; otherwise post that key to the focused control.
bool StepTest(const Session& session, UINT key);
bool StepFocus(const Session& session);
bool StepKey(const Session& session, UINT key);
bool StepGone(const Session& session);
bool StepSysCommand(const Session& session, WPARAM command);
bool StepPopup(const Session& session);
bool StepDialogs(const Session& session);
bool StepToolTips(const Session& session);
bool StepRect(const Session& session);
// The client area's size and every control's rectangle in client coordinates; for a static
// control with text, also that text's width in the dialog's font and its client width. Then
// the same for the template alone, laid out by the dialog manager without the program.
bool StepLayout(const Session& session);
// WM_DPICHANGED with the new dpi and the suggested window rectangle, as the system sends it when
// the window moves onto a monitor of another scale.
bool StepDpiChanged(const Session& session, int dpi, const RECT& suggested);
bool StepClose(const Session& session);
// Posts `count` WM_DEVICECHANGE (DBT_DEVNODES_CHANGED), as Windows sends a burst of them.
bool StepDeviceChange(Session& session, int count);
// Waits until the port list holds `count` entries; reports the time since the last burst.
bool StepWaitCount(const Session& session, int count);

}  // namespace driver
