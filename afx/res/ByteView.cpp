#include "afx/res/ByteView.h"

#include "afx/res/Utf.h"

namespace afx::res {

ByteView ByteView::Sub(std::size_t offset, std::size_t length) const {
    if (offset > size || length > size - offset) throw FormatError("resource data out of bounds");
    return {data + offset, length};
}

void ByteReader::Need(std::size_t length) const {
    if (length > Remaining()) throw FormatError("resource data truncated");
}

std::uint8_t ByteReader::U8() {
    Need(1);
    return m_view.data[m_offset++];
}

std::uint16_t ByteReader::U16() {
    Need(2);
    const std::uint8_t* p = m_view.data + m_offset;
    m_offset += 2;
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t ByteReader::U32() {
    Need(4);
    const std::uint8_t* p = m_view.data + m_offset;
    m_offset += 4;
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

ByteView ByteReader::Take(std::size_t length) {
    Need(length);
    ByteView part{m_view.data + m_offset, length};
    m_offset += length;
    return part;
}

void ByteReader::AlignTo4() {
    // Padding at the very end of the data may be missing: clamp instead of failing.
    std::size_t aligned = (m_offset + 3) & ~static_cast<std::size_t>(3);
    m_offset = aligned < m_view.size ? aligned : m_view.size;
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
        std::u16string text(1, static_cast<char16_t>(first));
        text += Utf16z();
        value.text = Utf16ToUtf8(text);
    }
    return value;
}

}  // namespace afx::res
