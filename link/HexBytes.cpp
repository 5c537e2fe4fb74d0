#include "link/HexBytes.h"

#include <cstdio>

std::string HexBytes(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    text.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += hex;
    }
    return text;
}
