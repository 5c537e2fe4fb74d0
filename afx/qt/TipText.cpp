#include "afx/qt/TipText.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTextLayout>
#include <QTextOption>

namespace afx::qt {

namespace {

QStringList WrapParagraph(const QString& paragraph, const QFont& font, int maxWidth) {
    if (paragraph.isEmpty() || maxWidth <= 0) return {paragraph};
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(maxWidth);
        // The break's trailing space belongs to no line.
        lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

}  // namespace

QString WrapTipText(const QString& text, const QFont& font, int maxWidth) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines;
    for (const QString& paragraph : text.split(lineBreak))
        lines << WrapParagraph(paragraph, font, maxWidth);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace afx::qt
