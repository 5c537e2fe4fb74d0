#include "afx/qt/DialogFont.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include <cstdint>
#include <utility>

namespace afx::qt {

namespace {

// The Windows faces of the templates and what stands in for them here, best first.
const std::pair<const char*, const char*> kFallbacks[] = {
    {"Arial", "Liberation Sans"},
    {"MS UI Gothic", "Noto Sans CJK JP"},
};

QString InstalledFamily(const QString& face)
{
    const QStringList families = QFontDatabase::families();
    if (families.contains(face, Qt::CaseInsensitive))
        return face;
    for (const auto& [windowsFace, standIn] : kFallbacks) {
        if (face.compare(QLatin1String(windowsFace), Qt::CaseInsensitive) == 0 &&
            families.contains(QLatin1String(standIn), Qt::CaseInsensitive))
            return QLatin1String(standIn);
    }
    return QGuiApplication::font().family();  // nothing better: the desktop's own font
}

int LogicalDpiY()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int>(screen->logicalDotsPerInchY() + 0.5) : 96;
}

}  // namespace

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;  // as Windows reports an overflow
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = (c > 0 ? c : -c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = ((product < 0 ? -product : product) + half) / (c > 0 ? c : -c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

QFont TemplateFont(const QString& face, int pointSize, int weight, bool italic)
{
    QFont font(InstalledFamily(face));
    font.setPixelSize(MulDiv(pointSize > 0 ? pointSize : 8, LogicalDpiY(), 72));
    // Weight 0 means the face's normal weight; the scale is the same as Windows'.
    font.setWeight(static_cast<QFont::Weight>(weight <= 0 ? 400 : (weight > 1000 ? 1000 : weight)));
    font.setItalic(italic);
    return font;
}

BaseUnits DialogBaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int width =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return BaseUnits{(width / 26 + 1) / 2, metrics.height()};
}

QRect DialogUnitsToPixels(int x, int y, int width, int height, BaseUnits base)
{
    return QRect(MulDiv(x, base.x, 4), MulDiv(y, base.y, 8), MulDiv(width, base.x, 4),
                 MulDiv(height, base.y, 8));
}

}  // namespace afx::qt
