// Icons: a group (GRPICONDIR) naming its RT_ICON images, and the images themselves
// (a BITMAPINFOHEADER, palette, colour rows and transparency mask).
#pragma once

#include <cstdint>
#include <vector>

#include "afx/res/ByteView.h"
#include "afx/res/ResFile.h"

namespace afx::res {

struct IconGroupEntry {
    std::uint8_t width = 0;  // 0 stands for 256
    std::uint8_t height = 0;
    std::uint8_t colourCount = 0;
    std::uint8_t reserved = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t bytesInRes = 0;
    std::uint16_t id = 0;  // of the RT_ICON image
};

struct IconGroup {
    std::uint16_t type = 0;  // 1 for icons, 2 for cursors
    std::vector<IconGroupEntry> entries;
};

struct BitmapInfoHeader {
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // colour rows and mask rows together
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
};

struct IconImage {
    BitmapInfoHeader header;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB, in file order
    int width = 0;
    int height = 0;                   // of the picture: half the header's height
    std::vector<std::uint32_t> argb;  // width * height pixels, top row first; alpha 0 = transparent
};

// Throws FormatError on malformed or truncated data.
IconGroup ParseIconGroup(ByteView data);

// Decodes an uncompressed 1, 4, 8, 24 or 32 bits-per-pixel icon image. Throws FormatError
// for anything else (PNG images included) or when the data is shorter than its header says.
IconImage DecodeIconImage(ByteView data);

}  // namespace afx::res
