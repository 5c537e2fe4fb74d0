#pragma once
// Frames as people read them, in the probe's wire trace and the simulator's log alike.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// "F3 02 0A"
std::string HexBytes(const std::uint8_t* bytes, std::size_t count);
inline std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    return HexBytes(bytes.data(), bytes.size());
}
