#include "afx/qt/DialogFont.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include <cstdint>
#include <utility>

#include "afx/res/DialogLayout.h"

namespace afx::qt {

namespace {

// The Windows faces of the templates and what stands in for them here, best first.
const std::pair<const char*, const char*> FALLBACKS[] = {
    {"Arial", "Liberation Sans"},
    {"MS UI Gothic", "Noto Sans CJK JP"},
};

QString InstalledFamily(const QString& face) {
    const QStringList families = QFontDatabase::families();
    if (families.contains(face, Qt::CaseInsensitive)) return face;
    for (const auto& [windowsFace, standIn] : FALLBACKS) {
        if (face.compare(QLatin1String(windowsFace), Qt::CaseInsensitive) == 0 &&
            families.contains(QLatin1String(standIn), Qt::CaseInsensitive))
            return QLatin1String(standIn);
    }
    return QGuiApplication::font().family();  // nothing better: the desktop's own font
}

int LogicalDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int>(screen->logicalDotsPerInchY() + 0.5) : 96;
}

}  // namespace

QFont TemplateFont(const QString& face, int pointSize, int weight, bool italic) {
    QFont font(InstalledFamily(face));
    font.setPixelSize(afx::res::MulDiv(pointSize > 0 ? pointSize : 8, LogicalDpiY(), 72));
    // Weight 0 means the face's normal weight; the scale is the same as Windows'.
    font.setWeight(static_cast<QFont::Weight>(weight <= 0 ? 400 : (weight > 1000 ? 1000 : weight)));
    font.setItalic(italic);
    return font;
}

BaseUnits DialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return BaseUnits{(width / 26 + 1) / 2, metrics.height()};
}

QRect PixelsOf(int x, int y, int width, int height, BaseUnits base) {
    const afx::res::PixelRect rect =
        afx::res::DialogUnitsToPixels(x, y, width, height, base.x, base.y);
    return QRect(rect.x, rect.y, rect.width, rect.height);
}

}  // namespace afx::qt
