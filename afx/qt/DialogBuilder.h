#pragma once
// A dialog's window and controls made from its template, as CreateDialogIndirect makes them:
// controls in template order (creation, stacking and tab order), rectangles from dialog units
// of the template's font, styles honoured.

#include <QString>

#include <string>

#include "afx/Types.h"
#include "afx/res/DialogTemplate.h"

namespace afx::qt {

// The dialog's handle; the window is not shown yet. Its events go to the object bound to the
// handle.
HWND CreateDialogWindow(const afx::res::DialogTemplate& dialogTemplate, HWND owner);

// Static text as a static control shows it (afx::res::StaticDisplayText).
QString StaticDisplayText(const std::string& text, bool noPrefix);

}  // namespace afx::qt
