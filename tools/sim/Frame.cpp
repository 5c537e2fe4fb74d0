#include "tools/sim/Frame.h"

#include <stdexcept>

namespace sim {

std::uint8_t Checksum(const std::uint8_t* bytes, std::size_t count) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    return static_cast<std::uint8_t>(~sum);
}

Bytes BuildFrame(std::uint8_t command, const Bytes& data) {
    if (data.size() > MAX_DATA) throw std::length_error("frame data longer than 253 bytes");
    Bytes frame;
    frame.reserve(data.size() + 3);
    frame.push_back(command);
    frame.push_back(static_cast<std::uint8_t>(data.size() + 2));
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(Checksum(frame.data(), frame.size()));
    return frame;
}

std::optional<std::uint8_t> RequestScanner::Feed(std::uint8_t byte) {
    m_window.push_back(byte);
    if (m_window.size() < 3) return std::nullopt;
    if (m_window[1] == 0x02 && Checksum(m_window.data(), 2) == m_window[2]) {
        const std::uint8_t command = m_window[0];
        m_window.clear();
        return command;
    }
    m_discarded.push_back(m_window.front());
    m_window.erase(m_window.begin());
    return std::nullopt;
}

Bytes RequestScanner::TakeDiscarded() {
    Bytes taken;
    taken.swap(m_discarded);
    return taken;
}

}  // namespace sim
