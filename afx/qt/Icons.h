#pragma once
// Icon handles: one shared object per icon resource, alive for the whole run (LoadIcon's
// icons are never destroyed).

#include <QIcon>
#include <QPixmap>

#include "afx/Types.h"

namespace afx::qt {

HICON LoadIconHandle(UINT id);
QPixmap IconPixmap(HICON icon);  // null pixmap for nullptr or an unknown handle
QIcon IconOf(HICON icon);

}  // namespace afx::qt
