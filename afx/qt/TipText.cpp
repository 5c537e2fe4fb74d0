#include "afx/qt/TipText.h"

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

// Split at "\r\n", "\r" or "\n" by hand: a regular expression's JIT compilation would add some
// 0.4 MB to the start, which needs nothing else of it.
QStringList Paragraphs(const QString& text) {
    QStringList paragraphs;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') continue;
        paragraphs << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    paragraphs << text.mid(start);
    return paragraphs;
}

}  // namespace

QString WrapTipText(const QString& text, const QFont& font, int maxWidth) {
    QStringList lines;
    for (const QString& paragraph : Paragraphs(text))
        lines << WrapParagraph(paragraph, font, maxWidth);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace afx::qt
