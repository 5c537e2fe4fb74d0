#pragma once
// Tooltip text laid out as a Windows tooltip with a maximum width: lines break where "\r\n"
// stands, and a line wider than the maximum wraps at word boundaries (Qt never wraps a plain
// tooltip by itself).

#include <QFont>
#include <QString>

namespace afx::qt {

QString WrapTipText(const QString& text, const QFont& font, int maxWidth);

}  // namespace afx::qt
