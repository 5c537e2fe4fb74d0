// Bounds-checked reading of little-endian resource data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace afx::res {

// Malformed or truncated resource data.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A non-owning view of bytes; the owner keeps them alive.
struct ByteView {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;

    // Throws FormatError unless [offset, offset + length) lies inside the view.
    ByteView Sub(std::size_t offset, std::size_t length) const;
};

// A string that may stand as a 16-bit ordinal instead (0xFFFF marker in the data).
struct SzOrOrd {
    bool isOrdinal = false;
    std::uint16_t ordinal = 0;
    std::string text;  // UTF-8; empty when absent
};

// UTF-16 (the resource compiler's text) as UTF-8 (the Linux program's text); an unpaired
// surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);

// Sequential reader over a ByteView; every read checks the remaining length first.
class ByteReader {
public:
    explicit ByteReader(ByteView view) : m_view(view) {}

    std::size_t Offset() const { return m_offset; }
    std::size_t Remaining() const { return m_view.size - m_offset; }

    std::uint8_t U8() { return Take(1).data[0]; }
    std::uint16_t U16();
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::uint32_t U32();
    ByteView Take(std::size_t length);
    void Skip(std::size_t length) { Take(length); }
    // Moves to the next multiple of four counted from the start of the view.
    void AlignTo4();

    // A zero-terminated UTF-16 string.
    std::u16string Utf16z();
    // 0x0000: empty; 0xFFFF: an ordinal follows; anything else starts a zero-terminated string.
    SzOrOrd ReadSzOrOrd();

private:
    ByteView m_view;
    std::size_t m_offset = 0;
};

}  // namespace afx::res
