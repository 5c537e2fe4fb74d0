// The back end's pure conversions: tooltip layout and the application's name.
#include <QToolTip>

#include <gtest/gtest.h>

#include "afx/qt/Program.h"
#include "afx/qt/TipText.h"

namespace {

TEST(Units, TipTextBreaksAtCrLfAndWrapsLongLinesAtTheMaximumWidth) {
    const QFont font = QToolTip::font();
    EXPECT_EQ(afx::qt::WrapTipText("first\r\nsecond", font, 320), "first\nsecond");
    // A lone CR or LF breaks too; empty lines stay.
    EXPECT_EQ(afx::qt::WrapTipText("a\rb\nc\r\n\r\nd\n", font, 320), "a\nb\nc\n\nd\n");
    EXPECT_EQ(afx::qt::WrapTipText("\r\n", font, 320), "\n");
    EXPECT_EQ(afx::qt::WrapTipText("", font, 320), "");
    const QString longLine = QString("word ").repeated(40).trimmed();
    const QStringList lines = afx::qt::WrapTipText("head\r\n" + longLine, font, 320).split('\n');
    ASSERT_GT(lines.size(), 2);
    EXPECT_EQ(lines[0], "head");
    for (const QString& line : lines)
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(line), 320);
    EXPECT_EQ(lines.mid(1).join(' '), longLine);  // nothing lost or doubled at the breaks
    // Without a maximum width nothing wraps, as comctl32 without TTM_SETMAXTIPWIDTH.
    EXPECT_EQ(afx::qt::WrapTipText(longLine, font, -1), longLine);
}

TEST(Units, ApplicationIsNamedAfterTheExecutableInCapitals) {
    EXPECT_EQ(afx::qt::ApplicationName("/usr/bin/marlox"), "Marlox");
    EXPECT_EQ(afx::qt::ApplicationName("C:\\dir\\Marlox.exe"), "Marlox");
    EXPECT_EQ(afx::qt::ApplicationName("./marlox-demo"), "Marlox-demo");
}

}  // namespace
