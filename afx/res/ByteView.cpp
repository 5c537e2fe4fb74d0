#include "afx/res/ByteView.h"

#include <algorithm>

namespace afx::res {
namespace {

// A lead byte (0xC0, 0xE0 or 0xF0 with the top bits of cp) and one byte of six bits for each
// further byte.
void Append(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
        return;
    }
    const int extra = cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
    out += static_cast<char>((0xFF00 >> (extra + 1) & 0xFF) | cp >> (6 * extra));
    for (int shift = 6 * (extra - 1); shift >= 0; shift -= 6)
        out += static_cast<char>(0x80 | (cp >> shift & 0x3F));
}

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
            Append(out,
                   0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (IsHigh(c) || IsLow(c)) {
            Append(out, 0xFFFD);
        } else {
            Append(out, c);
        }
    }
    return out;
}

ByteView ByteView::Sub(std::size_t offset, std::size_t length) const {
    if (offset > size || length > size - offset) throw FormatError("resource data out of bounds");
    return {data + offset, length};
}

ByteView ByteReader::Take(std::size_t length) {
    if (length > Remaining()) throw FormatError("resource data truncated");
    const ByteView part{m_view.data + m_offset, length};
    m_offset += length;
    return part;
}

std::uint16_t ByteReader::U16() {
    const std::uint8_t* p = Take(2).data;
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t ByteReader::U32() {
    const std::uint32_t low = U16();
    return low | static_cast<std::uint32_t>(U16()) << 16;
}

void ByteReader::AlignTo4() {
    // Padding at the very end of the data may be missing: clamp instead of failing.
    m_offset = std::min((m_offset + 3) & ~static_cast<std::size_t>(3), m_view.size);
}

std::u16string ByteReader::Utf16z() {
    std::u16string text;
    for (char16_t c = U16(); c != 0; c = U16())
        text.push_back(c);
    return text;
}

SzOrOrd ByteReader::ReadSzOrOrd() {
    SzOrOrd value;
    std::uint16_t first = U16();
    if (first == 0xFFFF) {
        value.isOrdinal = true;
        value.ordinal = U16();
    } else if (first != 0) {
        value.text = Utf16ToUtf8(static_cast<char16_t>(first) + Utf16z());
    }
    return value;
}

}  // namespace afx::res
