// The back end's pure conversions: tooltip layout, icons and the application's name.
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QToolTip>

#include <map>

#include <gtest/gtest.h>

#include "afx/qt/Program.h"
#include "afx/qt/QtBackend.h"
#include "afx/qt/Handles.h"
#include "res/resource.h"
#include "tests/res/IcoFile.h"

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

// The icons are decoded without Qt's ICO plug-in, to the very pixels the plug-in gives for each
// size; where a size comes in two colour depths, the true-colour picture is the one shown.
TEST(Units, IconsAreThePicturesQtReadsFromTheIcoFiles) {
    const auto premultiplied = [](const QImage& image) {
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    for (const UINT id : {IDR_MAINFRAME, IDI_PROTECTED}) {
        const std::vector<std::uint8_t> ico =
            restest::IcoFile(afx::qt::Resources(), static_cast<std::uint16_t>(id));
        QByteArray bytes(reinterpret_cast<const char*>(ico.data()), static_cast<int>(ico.size()));
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "ico");
        // By width. The plug-in reads every image as 32 bits, but each group leads with its
        // 16-colour image, so the later picture of a size is the true-colour one.
        std::map<int, QImage> deepest;
        for (int i = 0; i < reader.imageCount(); ++i) {
            ASSERT_TRUE(reader.jumpToImage(i));
            const QImage image = reader.read();
            if (image.isNull()) continue;  // the plug-in's reading of a PNG image, if it has none
            deepest[image.width()] = image;
        }
        ASSERT_TRUE(deepest.count(32) && deepest.count(64)) << id;

        const HICON icon = afx::qt::TheQtBackend().LoadIcon(id);
        ASSERT_NE(icon, nullptr) << id;
        for (const auto& [width, expected] : deepest) {
            EXPECT_EQ(premultiplied(icon->icon.pixmap(QSize(width, width), 1.0).toImage()),
                      premultiplied(expected))
                << id << " at " << width;
        }
        QList<QSize> sizes = icon->icon.availableSizes();
        EXPECT_EQ(sizes.size(), 8) << id;  // 16 to 64, and the 256-pixel PNG
        EXPECT_TRUE(sizes.contains(QSize(256, 256))) << id;
        // On a screen scaled 2x the 32-pixel place shows the 64-pixel picture, not a stretch.
        const QPixmap sharp = icon->icon.pixmap(QSize(32, 32), 2.0);
        EXPECT_EQ(sharp.size(), QSize(64, 64)) << id;
        EXPECT_EQ(premultiplied(sharp.toImage()), premultiplied(deepest[64])) << id;
        EXPECT_EQ(premultiplied(icon->pixmap.toImage()), premultiplied(deepest[32])) << id;
    }
}

TEST(Units, ApplicationIsNamedAfterTheExecutableInCapitals) {
    EXPECT_EQ(afx::qt::ApplicationName("/usr/bin/marlox"), "Marlox");
    EXPECT_EQ(afx::qt::ApplicationName("C:\\dir\\Marlox.exe"), "Marlox");
    EXPECT_EQ(afx::qt::ApplicationName("./marlox-demo"), "Marlox-demo");
}

}  // namespace
