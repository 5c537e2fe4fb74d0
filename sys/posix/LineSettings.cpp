#include "sys/posix/LineSettings.h"

#include <cctype>
#include <sstream>

namespace sys {
namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::optional<std::uint32_t> ParseBaud(const std::string& value)
{
    if (value.empty() || value.size() > 9)  // up to 999'999'999, no overflow
        return std::nullopt;
    std::uint32_t baud = 0;
    for (char c : value) {
        if (c < '0' || c > '9')
            return std::nullopt;
        baud = baud * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (baud == 0)
        return std::nullopt;
    return baud;
}

std::optional<Parity> ParseParity(const std::string& value)
{
    if (value == "n") return Parity::None;
    if (value == "e") return Parity::Even;
    if (value == "o") return Parity::Odd;
    if (value == "m") return Parity::Mark;
    if (value == "s") return Parity::Space;
    return std::nullopt;
}

std::optional<int> ParseDataBits(const std::string& value)
{
    if (value.size() == 1 && value[0] >= '5' && value[0] <= '8')
        return value[0] - '0';
    return std::nullopt;
}

std::optional<StopBits> ParseStopBits(const std::string& value)
{
    if (value == "1") return StopBits::One;
    if (value == "1.5") return StopBits::OneAndHalf;
    if (value == "2") return StopBits::Two;
    return std::nullopt;
}

}  // namespace

std::optional<LineSettings> ParseLineSettings(const std::string& definition)
{
    LineSettings settings;
    bool haveBaud = false;
    std::istringstream pairs(Lower(definition));
    std::string pair;
    while (pairs >> pair) {
        const std::size_t equals = pair.find('=');
        if (equals == std::string::npos)
            return std::nullopt;
        const std::string key = pair.substr(0, equals);
        const std::string value = pair.substr(equals + 1);
        if (key == "baud") {
            const auto baud = ParseBaud(value);
            if (!baud) return std::nullopt;
            settings.baud = *baud;
            haveBaud = true;
        } else if (key == "parity") {
            const auto parity = ParseParity(value);
            if (!parity) return std::nullopt;
            settings.parity = *parity;
        } else if (key == "data") {
            const auto dataBits = ParseDataBits(value);
            if (!dataBits) return std::nullopt;
            settings.dataBits = *dataBits;
        } else if (key == "stop") {
            const auto stopBits = ParseStopBits(value);
            if (!stopBits) return std::nullopt;
            settings.stopBits = *stopBits;
        } else {
            return std::nullopt;
        }
    }
    if (!haveBaud)
        return std::nullopt;
    return settings;
}

}  // namespace sys
