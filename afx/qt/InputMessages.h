#pragma once
// A Qt input event as the Win32 message GetMessage would have returned for it: mouse messages
// go to the control under the mouse (a static without SS_NOTIFY, or a disabled control, lets
// them through to its dialog), keyboard messages to the control with the focus.

#include "afx/Types.h"

class QEvent;
class QWidget;

namespace afx::qt {

// False for events that are not input, or that belong to no window of the back end.
bool InputMessage(QWidget* dialog, const QEvent* event, MSG& msg);

// The virtual-key code of a Qt key, 0 when Windows has none.
WPARAM VirtualKey(int qtKey);

}  // namespace afx::qt
