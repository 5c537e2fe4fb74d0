// What a template means to a toolkit that builds the dialog itself: Windows rounding of dialog
// units, access-key marks in static text, and the label that names a control for screen readers.
#include <gtest/gtest.h>

#include "afx/res/DialogLayout.h"

namespace {

using afx::res::DialogItem;
using afx::res::DialogTemplate;

TEST(DialogLayout, MulDivRoundsHalvesAwayFromZeroAndReportsDivisionByZero) {
    EXPECT_EQ(afx::res::MulDiv(31, 7, 4), 54);  // 54.25
    EXPECT_EQ(afx::res::MulDiv(9, 14, 8), 16);  // 15.75
    EXPECT_EQ(afx::res::MulDiv(3, 1, 2), 2);    // 1.5
    EXPECT_EQ(afx::res::MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(afx::res::MulDiv(3, -1, 2), -2);
    EXPECT_EQ(afx::res::MulDiv(70000, 70000, 70000), 70000);  // no 32-bit overflow inside
    EXPECT_EQ(afx::res::MulDiv(1, 1, 0), -1);
    const afx::res::PixelRect rect = afx::res::DialogUnitsToPixels(7, 9, 50, 14, 6, 13);
    EXPECT_EQ(rect.x, 11);       // 7 * 6 / 4 = 10.5
    EXPECT_EQ(rect.y, 15);       // 9 * 13 / 8 = 14.625
    EXPECT_EQ(rect.width, 75);   // 50 * 6 / 4
    EXPECT_EQ(rect.height, 23);  // 14 * 13 / 8 = 22.75
}

TEST(DialogLayout, StaticTextHidesAccessKeyMarksUnlessNoPrefix) {
    EXPECT_EQ(afx::res::StaticDisplayText("&Port", false), "Port");
    EXPECT_EQ(afx::res::StaticDisplayText("R&&D", false), "R&D");
    EXPECT_EQ(afx::res::StaticDisplayText("trailing&", false), "trailing&");
    EXPECT_EQ(afx::res::StaticDisplayText("通信ポート(&P)", false), "通信ポート(P)");
    EXPECT_EQ(afx::res::StaticDisplayText("Marlox Version 1.0i & more", true),
              "Marlox Version 1.0i & more");
}

DialogItem Item(std::uint16_t cls, std::uint32_t style, int x, int y, int cx, int cy,
                const std::string& text) {
    DialogItem item;
    item.windowClass.isOrdinal = true;
    item.windowClass.ordinal = cls;
    item.style = style;
    item.x = static_cast<std::int16_t>(x);
    item.y = static_cast<std::int16_t>(y);
    item.cx = static_cast<std::int16_t>(cx);
    item.cy = static_cast<std::int16_t>(cy);
    item.title.text = text;
    return item;
}

TEST(DialogLayout, ControlIsNamedByTheNearestLabelOnItsRowElseTheLabelBeforeIt) {
    using afx::res::cls::COMBOBOX;
    using afx::res::cls::STATIC;
    DialogTemplate dialog;
    dialog.items = {
        Item(COMBOBOX, 0, 60, 2, 80, 60, ""),             // 0: before any label
        Item(STATIC, 0, 5, 20, 40, 10, "Far"),            // 1
        Item(STATIC, 0, 50, 20, 40, 10, "Near"),          // 2
        Item(STATIC, 0, 100, 20, 60, 10, ""),             // 3: a field on row 20
        Item(STATIC, 3, 5, 40, 20, 20, ""),               // 4: an icon never names anything
        Item(STATIC, 0, 200, 40, 60, 10, ""),             // 5: nothing on its row to the left
        Item(STATIC, 0, 130, 20, 20, 10, "Right of it"),  // 6: right of item 3, not its label
    };
    const struct {
        std::size_t index;
        std::optional<std::size_t> label;
    } cases[] = {{0, std::nullopt}, {3, 2}, {5, 2}, {6, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(afx::res::LabelOf(dialog, c.index), c.label) << c.index;
    EXPECT_EQ(afx::res::LabelOf(dialog, 99), std::nullopt);
}

}  // namespace
