// The back end's pure conversions: Windows rounding, static text access keys, tooltip layout.
#include <QToolTip>

#include <gtest/gtest.h>

#include "afx/qt/DialogBuilder.h"
#include "afx/qt/DialogFont.h"
#include "afx/qt/Program.h"
#include "afx/qt/TipText.h"

namespace {

TEST(Units, MulDivRoundsHalvesAwayFromZeroAndReportsDivisionByZero)
{
    EXPECT_EQ(afx::qt::MulDiv(31, 7, 4), 54);   // 54.25
    EXPECT_EQ(afx::qt::MulDiv(9, 14, 8), 16);   // 15.75
    EXPECT_EQ(afx::qt::MulDiv(3, 1, 2), 2);     // 1.5
    EXPECT_EQ(afx::qt::MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(afx::qt::MulDiv(3, -1, 2), -2);
    EXPECT_EQ(afx::qt::MulDiv(70000, 70000, 70000), 70000);  // no 32-bit overflow inside
    EXPECT_EQ(afx::qt::MulDiv(1, 1, 0), -1);
}

TEST(Units, StaticTextHidesAccessKeyMarksUnlessNoPrefix)
{
    EXPECT_EQ(afx::qt::StaticDisplayText("&Port", false), "Port");
    EXPECT_EQ(afx::qt::StaticDisplayText("R&&D", false), "R&D");
    EXPECT_EQ(afx::qt::StaticDisplayText("trailing&", false), "trailing&");
    EXPECT_EQ(afx::qt::StaticDisplayText("Marlox Version 1.0i & more", true), "Marlox Version 1.0i & more");
}

TEST(Units, TipTextBreaksAtCrLfAndWrapsLongLinesAtTheMaximumWidth)
{
    const QFont font = QToolTip::font();
    EXPECT_EQ(afx::qt::WrapTipText("first\r\nsecond", font, 320), "first\nsecond");
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

TEST(Units, ApplicationIsNamedAfterTheExecutableInCapitals)
{
    EXPECT_EQ(afx::qt::ApplicationName("/usr/bin/marlox"), "Marlox");
    EXPECT_EQ(afx::qt::ApplicationName("C:\\dir\\Marlox.exe"), "Marlox");
    EXPECT_EQ(afx::qt::ApplicationName("./marlox-demo"), "Marlox-demo");
}

}  // namespace
