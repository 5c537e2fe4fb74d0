#include "afx/res/DialogLayout.h"

#include <cstdint>

namespace afx::res {
namespace {

// The resource compiler names the predefined classes by ordinal.
bool IsTextLabel(const DialogItem& item) {
    return item.windowClass.isOrdinal && item.windowClass.ordinal == cls::STATIC &&
           (item.style & style::STATIC_TYPE_MASK) != style::STATIC_ICON && !item.title.isOrdinal &&
           !item.title.text.empty();
}

}  // namespace

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;  // as Windows reports an overflow
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t divisor = c > 0 ? c : -c;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = ((product < 0 ? -product : product) + divisor / 2) / divisor;
    return static_cast<int>(negative ? -magnitude : magnitude);
}

PixelRect DialogUnitsToPixels(int x, int y, int width, int height, int baseX, int baseY) {
    return {MulDiv(x, baseX, 4), MulDiv(y, baseY, 8), MulDiv(width, baseX, 4),
            MulDiv(height, baseY, 8)};
}

int WidenColumns(std::vector<PixelRect>& items, const std::vector<int>& needed, int dialogWidth) {
    // Each round settles every item at the leftmost edge still short; edges only move right.
    for (std::size_t round = 0; round <= items.size(); ++round) {
        int edge = 0;
        int shortfall = 0;
        for (std::size_t i = 0; i < items.size() && i < needed.size(); ++i) {
            const int right = items[i].x + items[i].width;
            const int missing = needed[i] - items[i].width;
            if (missing <= 0) continue;
            if (shortfall == 0 || right < edge) {
                edge = right;
                shortfall = missing;
            } else if (right == edge && missing > shortfall) {
                shortfall = missing;
            }
        }
        if (shortfall == 0) break;
        for (PixelRect& item : items) {
            if (item.x >= edge)
                item.x += shortfall;
            else if (item.x + item.width >= edge)
                item.width += shortfall;
        }
        if (dialogWidth >= edge) dialogWidth += shortfall;
    }
    return dialogWidth;
}

std::string StaticDisplayText(const std::string& text, bool noPrefix) {
    if (noPrefix) return text;
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        // "&x" shows x; "&&" shows one ampersand. An ampersand is never part of a UTF-8 sequence.
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

std::optional<std::size_t> LabelOf(const DialogTemplate& dialogTemplate, std::size_t index) {
    const auto& items = dialogTemplate.items;
    if (index >= items.size()) return std::nullopt;
    const DialogItem& control = items[index];
    const int middle = control.y + control.cy / 2;
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const DialogItem& label = items[i];
        if (i == index || !IsTextLabel(label)) continue;
        const bool onRow = middle >= label.y && middle < label.y + label.cy;
        if (onRow && label.x < control.x && (!best || label.x > items[*best].x)) best = i;
    }
    for (std::size_t i = index; !best && i-- > 0;)
        if (IsTextLabel(items[i])) best = i;
    return best;
}

}  // namespace afx::res
