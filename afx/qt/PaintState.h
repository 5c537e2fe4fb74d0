#pragma once
// A device context of this back end: a painter on the widget being painted, valid between
// CPaintDC's construction and destruction.

#include <QPainter>
#include <QPointer>
#include <QWidget>

#include "afx/PaintDC.h"

struct CPaintDC::State {
    QPointer<QWidget> widget;
    QPainter painter;
};

namespace afx::qt {

// WM_ICONERASEBKGND's default: the dialog's background behind the icon.
bool EraseBackground(HDC hdc);

}  // namespace afx::qt
