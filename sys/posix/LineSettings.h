#pragma once
// Line settings from a definition string in the key=value form the Windows API accepts,
// e.g. "baud=19200 parity=e data=8 stop=1".

#include <cstdint>
#include <optional>
#include <string>

namespace sys {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };

struct LineSettings {
    std::uint32_t baud = 0;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;
};

// baud is required; parity, data and stop default to n, 8 and 1. Keys and values are
// case-insensitive, pairs are separated by blanks. An unknown key, a malformed pair or a value
// out of range gives nullopt.
std::optional<LineSettings> ParseLineSettings(const std::string& definition);

}  // namespace sys
