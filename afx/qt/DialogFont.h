#pragma once
// Dialog units: a template's rectangles are measured in its own font, a horizontal unit being a
// quarter of the font's average character width and a vertical unit an eighth of its height.

#include <QFont>
#include <QRect>
#include <QString>

namespace afx::qt {

// The template's font, or its metric-compatible stand-in when the named one is not installed
// (fontconfig would otherwise hand out a font of other metrics under the same name).
// Size is converted to pixels as Windows does, at the screen's logical resolution.
QFont TemplateFont(const QString& face, int pointSize, int weight, bool italic);

struct BaseUnits {
    int x = 0;
    int y = 0;
};

BaseUnits DialogBaseUnits(const QFont& font);

// x, y, width and height in dialog units to pixels.
QRect PixelsOf(int x, int y, int width, int height, BaseUnits base);

}  // namespace afx::qt
