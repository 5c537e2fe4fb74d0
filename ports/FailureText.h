#pragma once
// Failure texts that carry a system error code.

#include <cstdint>
#include <string>

// Fills the one %lx of format with code: lower-case hexadecimal, no leading zeros, no prefix.
// The code is widened to unsigned long first, so the conversion is right whether long has
// 32 bits (Windows) or 64 (Linux).
std::string FormatErrorText(const char* format, std::uint32_t code);
