// The dialog's pixels from its template: dialog units of the template's font (or its stand-in),
// spot-checked on several controls, with the label column widened where these fonts need it;
// run once per language.
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include "afx/qt/QtBackend.h"
#include "res/resource.h"
#include "tests/ui/linux/TestSystem.h"
#include "tests/ui/linux/TesterDriver.h"

namespace guitest {
namespace {

struct Units {
    int x, y;
};

// The base units of a 9-point face at 96 dpi (12 pixels), measured here independently.
Units BaseUnitsOf(const char* family) {
    QFont font(family);
    font.setPixelSize(12);
    const QFontMetrics metrics(font);
    const int alphabet =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {(alphabet / 26 + 1) / 2, metrics.height()};
}

int Scale(int value, int base, int divisor) { return (value * base + divisor / 2) / divisor; }

QRect Pixels(int x, int y, int cx, int cy, Units base) {
    return {Scale(x, base.x, 4), Scale(y, base.y, 8), Scale(cx, base.x, 4), Scale(cy, base.y, 8)};
}

struct Layout {
    const char* family;
    QSize dialog;  // in dialog units
    QRect test, engineCode, protection, legacyVersion, port;
    QPoint icon;
};

void CheckLayout(const Layout& layout) {
    ASSERT_TRUE(QFontDatabase::families().contains(layout.family))
        << layout.family << " is not installed";
    const Units base = BaseUnitsOf(layout.family);
    TestPorts ports;
    RunTesterDialog([&](DialogView& view) {
        EXPECT_EQ(view.Dialog()->font().family(), layout.family);
        const QSize sized =
            Pixels(0, 0, layout.dialog.width(), layout.dialog.height(), base).size();
        // Labels too narrow for these fonts widen their column: whatever lies right of the
        // labels moves right by as much as the dialog grows; rows and heights stay.
        const int shift = view.Dialog()->width() - sized.width();
        EXPECT_GE(shift, 0);
        EXPECT_EQ(view.Dialog()->height(), sized.height());
        const auto at = [&](const QRect& r) {
            return Pixels(r.x(), r.y(), r.width(), r.height(), base).translated(shift, 0);
        };
        EXPECT_EQ(view.Control(IDC_TEST)->geometry(), at(layout.test));
        EXPECT_EQ(view.Control(IDC_ENGINECODE)->geometry(), at(layout.engineCode));
        EXPECT_EQ(view.Control(IDC_PROTECTION)->geometry(), at(layout.protection));
        EXPECT_EQ(view.Control(IDC_LEGACY_VERSION)->geometry(), at(layout.legacyVersion));
        // The icon control takes the icon's 32 by 32 pixels whatever the template says.
        EXPECT_EQ(view.Control(IDC_PROTECTION_ICON)->geometry(),
                  QRect(at(QRect(layout.icon, QSize(1, 1))).topLeft(), QSize(32, 32)));
        // A drop-down list's template height includes its list: only the field shows. It spans
        // the labels' column, so it ends where the fields' column ends, moved with it.
        const QRect port = view.Control(IDC_PORT)->geometry();
        const QRect templatePort = at(layout.port);
        EXPECT_EQ(port.y(), templatePort.y());
        EXPECT_GE(port.x(), templatePort.x() - shift);
        EXPECT_EQ(port.x() + port.width(), templatePort.x() + templatePort.width());
    });
}

TEST(Geometry, EnglishDialogInDialogUnitsOfArialsStandIn) {
    if (afx::qt::Resources().Language() != 1033) GTEST_SKIP() << "English run only";
    CheckLayout({"Liberation Sans",
                 {242, 102},
                 {188, 79, 47, 16},
                 {125, 28, 55, 10},
                 {125, 55, 55, 11},
                 {125, 83, 55, 11},
                 {69, 7, 111, 14},
                 {200, 54}});
}

TEST(JapaneseGeometry, JapaneseDialogInDialogUnitsOfTheCjkStandIn) {
    if (afx::qt::Resources().Language() != 1041) GTEST_SKIP() << "run with LC_ALL=ja_JP.UTF-8";
    CheckLayout({"Noto Sans CJK JP",
                 {211, 102},
                 {157, 79, 47, 16},
                 {98, 28, 55, 11},
                 {98, 55, 55, 11},
                 {98, 83, 55, 11},
                 {43, 7, 111, 14},
                 {172, 27}});
}

}  // namespace
}  // namespace guitest
