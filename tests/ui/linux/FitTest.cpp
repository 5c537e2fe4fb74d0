// Every text of both dialogs shows whole with the fonts actually used: run per language and at a
// larger desktop font (QT_FONT_DPI), where the layout widens the columns that need it.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/linux/TestSystem.h"
#include "tests/ui/linux/TesterDriver.h"

namespace guitest {
namespace {

// The texts of window's shown labels and buttons that do not fit their controls.
std::vector<std::string> CutTexts(const QWidget& window) {
    std::vector<std::string> cut;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->isHidden() || label->text().isEmpty()) continue;
        const QRect room = label->contentsRect();
        const bool fits =
            label->wordWrap()
                ? label->heightForWidth(label->width()) <= label->height()
                : label->fontMetrics().horizontalAdvance(label->text()) <= room.width();
        if (!fits || !window.rect().contains(label->geometry()))
            cut.push_back(label->text().toStdString());
    }
    for (const QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->isHidden()) continue;
        if (button->fontMetrics().horizontalAdvance(button->text()) > button->width() ||
            !window.rect().contains(button->geometry()))
            cut.push_back(button->text().toStdString());
    }
    return cut;
}

TEST(Fit, EveryTextOfTheTesterDialogAndTheAboutBoxShowsWhole) {
    TestPorts ports;
    RunTesterDialog([&](DialogView& view) {
        EXPECT_EQ(CutTexts(*view.Dialog()), std::vector<std::string>());
        std::vector<std::string> aboutCut{"(no About box)"};
        OnNextWindow closer([&](QWidget* about) {
            aboutCut = CutTexts(*about);
            QTest::keyClick(about->windowHandle(), Qt::Key_Escape);
        });
        QTest::keyClick(view.Dialog()->windowHandle(), Qt::Key_F1);
        EXPECT_EQ(aboutCut, std::vector<std::string>());
    });
}

}  // namespace
}  // namespace guitest
