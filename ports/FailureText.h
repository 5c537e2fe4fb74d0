#pragma once
// Failure texts that carry a system error code.

#include <cstdint>
#include <string>

// Fills the first %lx of format with code: lower-case hexadecimal, no leading zeros, no prefix.
// Nothing else in format is interpreted.
std::string FormatErrorText(const char* format, std::uint32_t code);
