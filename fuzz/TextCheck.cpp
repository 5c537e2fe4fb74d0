#include "fuzz/TextCheck.h"

#include <cstdint>

namespace fuzz {

namespace {

// The length of the well-formed sequence at text[i], 0 when there is none.
std::size_t SequenceLength(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[i + k]); };
    const std::uint8_t lead = byte(0);
    std::size_t length;
    std::uint8_t low = 0x80, high = 0xBF;  // range of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    else
        return 0;
    if (i + length > text.size() || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k)
        if ((byte(k) & 0xC0) != 0x80) return 0;
    return length;
}

}  // namespace

bool IsCleanText(const std::string& text) {
    if (!text.empty() && (text.front() == ' ' || text.back() == ' ')) return false;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SequenceLength(text, i);
        if (length == 0) return false;
        const auto c = static_cast<std::uint8_t>(text[i]);
        if (length == 1 && (c < 0x20 || c == 0x7F || (c == ' ' && text[i + 1] == ' ')))
            return false;
        i += length;
    }
    return true;
}

bool IsDisplayableText(const std::string& text) {
    std::string spaced;
    for (char c : text)
        spaced += c == ' ' ? 'x' : c;
    return IsCleanText(spaced);
}

}  // namespace fuzz
