#include "ports/FailureText.h"

#include <algorithm>
#include <cstdio>

std::string FormatErrorText(const char* format, std::uint32_t code) {
    char text[128];
    const int length = std::snprintf(text, sizeof text, format, static_cast<unsigned long>(code));
    if (length < 0) return format;
    return std::string(text,
                       std::min<std::size_t>(static_cast<std::size_t>(length), sizeof text - 1));
}
