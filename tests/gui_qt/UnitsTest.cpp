// The back end's pure conversions: tooltip layout, icons and the application's name.
#include <QImage>
#include <QToolTip>

#include <gtest/gtest.h>

#include "afx/qt/Program.h"
#include "afx/qt/QtBackend.h"
#include "afx/qt/Resources.h"
#include "afx/qt/Window.h"
#include "res/resource.h"
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

// The icons are decoded without Qt's ICO plug-in, to the very pixels the plug-in gives.
TEST(Units, IconsAreThePicturesQtReadsFromTheIcoFiles) {
    for (const UINT id : {IDR_MAINFRAME, IDI_PROTECTED}) {
        const std::vector<std::uint8_t> ico =
            afx::qt::Resources().IconFile(static_cast<std::uint16_t>(id));
        QImage expected;
        ASSERT_TRUE(expected.loadFromData(ico.data(), static_cast<int>(ico.size()), "ICO")) << id;
        const HICON icon = afx::qt::TheQtBackend().LoadIcon(id);
        ASSERT_NE(icon, nullptr) << id;
        // Premultiplied, so every transparent pixel is the same whatever colour it had.
        EXPECT_EQ(icon->pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  expected.convertToFormat(QImage::Format_ARGB32_Premultiplied))
            << id;
    }
}

TEST(Units, ApplicationIsNamedAfterTheExecutableInCapitals) {
    EXPECT_EQ(afx::qt::ApplicationName("/usr/bin/marlox"), "Marlox");
    EXPECT_EQ(afx::qt::ApplicationName("C:\\dir\\Marlox.exe"), "Marlox");
    EXPECT_EQ(afx::qt::ApplicationName("./marlox-demo"), "Marlox-demo");
}

}  // namespace
