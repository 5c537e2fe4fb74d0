#include "afx/res/ByteView.h"

namespace afx::res {

namespace {

void Append(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
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
