#include "ports/FailureText.h"

#include <charconv>

std::string FormatErrorText(const char* format, std::uint32_t code) {
    // Filled in here rather than by snprintf, which would bring the C library's whole formatted
    // output (about 40 KB with its floating-point conversions) into the Windows program.
    std::string text = format;
    const std::size_t at = text.find("%lx");
    if (at == std::string::npos) return text;
    char hex[2 * sizeof code];
    const std::to_chars_result end = std::to_chars(hex, hex + sizeof hex, code, 16);
    text.replace(at, 3, hex, static_cast<std::size_t>(end.ptr - hex));
    return text;
}
