#include "afx/res/IconGroup.h"

namespace afx::res {
namespace {

constexpr int MAX_ICON_SIDE = 256;

BitmapInfoHeader ReadBitmapInfoHeader(ByteReader& r) {
    BitmapInfoHeader h;
    h.size = r.U32();
    h.width = static_cast<std::int32_t>(r.U32());
    h.height = static_cast<std::int32_t>(r.U32());
    h.planes = r.U16();
    h.bitCount = r.U16();
    h.compression = r.U32();
    h.sizeImage = r.U32();
    h.xPelsPerMeter = static_cast<std::int32_t>(r.U32());
    h.yPelsPerMeter = static_cast<std::int32_t>(r.U32());
    h.clrUsed = r.U32();
    h.clrImportant = r.U32();
    return h;
}

std::size_t Stride(int width, int bitCount) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 31) / 32 * 4;
}

// Bits per pixel at most 8: the palette index of pixel x in a row.
unsigned PaletteIndex(const std::uint8_t* row, int x, int bitCount) {
    const int perByte = 8 / bitCount;
    const int shift = (perByte - 1 - x % perByte) * bitCount;
    return static_cast<unsigned>(row[x / perByte] >> shift) & ((1u << bitCount) - 1);
}

bool MaskBit(const std::uint8_t* row, int x) { return (row[x / 8] >> (7 - x % 8)) & 1; }

}  // namespace

IconGroup ParseIconGroup(ByteView data) {
    ByteReader r(data);
    IconGroup group;
    if (r.U16() != 0) throw FormatError("icon group: reserved field not zero");
    group.type = r.U16();
    std::uint16_t count = r.U16();
    for (std::uint16_t i = 0; i < count; ++i) {
        IconGroupEntry e;
        e.width = r.U8();
        e.height = r.U8();
        e.colourCount = r.U8();
        e.reserved = r.U8();
        e.planes = r.U16();
        e.bitCount = r.U16();
        e.bytesInRes = r.U32();
        e.id = r.U16();
        group.entries.push_back(e);
    }
    return group;
}

IconImage DecodeIconImage(ByteView data) {
    ByteReader r(data);
    IconImage image;
    BitmapInfoHeader& h = image.header;
    h = ReadBitmapInfoHeader(r);
    if (h.size < 40) throw FormatError("icon image: not a BITMAPINFOHEADER");
    if (h.planes != 1 || h.compression != 0 /* BI_RGB */)
        throw FormatError("icon image: unsupported planes or compression");
    const int bpp = h.bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
        throw FormatError("icon image: unsupported bits per pixel");
    if (h.width < 1 || h.width > MAX_ICON_SIDE || h.height < 2 || h.height > 2 * MAX_ICON_SIDE)
        throw FormatError("icon image: bad size");
    image.width = h.width;
    image.height = h.height / 2;

    const std::size_t paletteSize = bpp <= 8 ? (h.clrUsed != 0 ? h.clrUsed : 1u << bpp) : h.clrUsed;
    if ((bpp <= 8 && paletteSize > (1u << bpp)) || paletteSize > 256)
        throw FormatError("icon image: bad palette size");
    r.Skip(h.size - 40);
    for (std::size_t i = 0; i < paletteSize; ++i)
        image.palette.push_back(r.U32() & 0x00FFFFFF);

    const std::size_t colourStride = Stride(image.width, bpp);
    const std::size_t maskStride = Stride(image.width, 1);
    ByteView colour = r.Take(colourStride * static_cast<std::size_t>(image.height));
    ByteView mask = r.Take(maskStride * static_cast<std::size_t>(image.height));

    // Colours first; then the mask makes pixels transparent, except in a 32-bit image
    // that carries its own alpha.
    bool anyAlpha = false;
    const std::size_t w = static_cast<std::size_t>(image.width);
    image.argb.assign(w * static_cast<std::size_t>(image.height), 0);
    for (int y = 0; y < image.height; ++y) {
        const std::size_t fileRow =
            static_cast<std::size_t>(image.height - 1 - y);  // bottom row first
        const std::uint8_t* row = colour.data + fileRow * colourStride;
        std::uint32_t* out = &image.argb[static_cast<std::size_t>(y) * w];
        for (int x = 0; x < image.width; ++x) {
            if (bpp <= 8) {
                unsigned index = PaletteIndex(row, x, bpp);
                if (index >= image.palette.size())
                    throw FormatError("icon image: palette index out of range");
                out[x] = image.palette[index];
            } else {
                const std::uint8_t* p =
                    row + static_cast<std::size_t>(x) * static_cast<std::size_t>(bpp / 8);
                std::uint32_t alpha = bpp == 32 ? p[3] : 0;
                anyAlpha = anyAlpha || alpha != 0;
                out[x] = alpha << 24 | static_cast<std::uint32_t>(p[2]) << 16 |
                         static_cast<std::uint32_t>(p[1]) << 8 | p[0];
            }
        }
    }
    if (anyAlpha) return image;
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* maskRow =
            mask.data + static_cast<std::size_t>(image.height - 1 - y) * maskStride;
        std::uint32_t* out = &image.argb[static_cast<std::size_t>(y) * w];
        for (int x = 0; x < image.width; ++x)
            out[x] = MaskBit(maskRow, x) ? 0 : (out[x] | 0xFF000000u);
    }
    return image;
}

}  // namespace afx::res
