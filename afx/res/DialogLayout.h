#pragma once
// What a dialog template means once a toolkit builds it itself: dialog units in pixels, the text
// a static control shows, and which label names a control that has no text of its own.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "afx/res/DialogTemplate.h"

namespace afx::res {

// The Windows rounding of a * b / c: to nearest, halves away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

// A horizontal dialog unit is a quarter of the font's average character width (base x), a
// vertical one an eighth of its height (base y).
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};
PixelRect DialogUnitsToPixels(int x, int y, int width, int height, int baseX, int baseY);

// Widens the layout where an item is narrower than it needs (needed[i] pixels, 0 for no need):
// at that item's right edge every item starting there or further right moves right by the
// shortfall, and every item reaching that edge from the left grows by it, so columns stay
// columns and right-aligned text stays against what follows it. Rows and heights do not change.
// Returns the dialog's width grown by the same amounts.
int WidenColumns(std::vector<PixelRect>& items, const std::vector<int>& needed, int dialogWidth);

// Static text as a static control shows it: without the no-prefix style "&x" marks an access
// key (the ampersand is not shown) and "&&" stands for one ampersand.
std::string StaticDisplayText(const std::string& text, bool noPrefix);

// The item whose text names item index for a screen reader, when it has no text of its own:
// the label on its row to its left (the row holding the item's middle), else the nearest label
// before it in template order. None: the dialog's title names it.
std::optional<std::size_t> LabelOf(const DialogTemplate& dialogTemplate, std::size_t index);

}  // namespace afx::res
