#pragma once
// Frames as the controller sees them: command, length N, N - 2 data bytes, complement checksum.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;

// A frame's length byte counts itself and the checksum, so its data is at most 253 bytes.
constexpr std::size_t MAX_DATA = 253;

// The bitwise complement of the 8-bit sum: a frame is valid when all its bytes sum to 0xFF.
std::uint8_t Checksum(const std::uint8_t* bytes, std::size_t count);

// command, N = data + 2, data, checksum. data must not exceed MAX_DATA.
Bytes BuildFrame(std::uint8_t command, const Bytes& data);

// Finds three-byte requests (command, 0x02, checksum) in a byte stream. Bytes that cannot start
// a request are dropped one at a time, so the scanner falls back into step after any garbage.
class RequestScanner {
public:
    // Returns the command once the last bytes fed form a request.
    std::optional<std::uint8_t> Feed(std::uint8_t byte);
    // Bytes dropped since the last call.
    Bytes TakeDiscarded();

private:
    Bytes m_window;
    Bytes m_discarded;
};

}  // namespace sim
