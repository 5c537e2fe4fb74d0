#include "sys/win32/CommSettings.h"

namespace sys::win32 {
namespace {

std::optional<char> ParityLetter(Parity parity) {
    switch (parity) {
    case Parity::None: return 'n';
    case Parity::Even: return 'e';
    case Parity::Odd: return 'o';
    case Parity::Mark: return 'm';
    case Parity::Space: return 's';
    }
    return std::nullopt;
}

std::optional<std::string> StopBitsText(StopBits stopBits) {
    switch (stopBits) {
    case StopBits::One: return "1";
    case StopBits::OneAndHalf: return "1.5";
    case StopBits::Two: return "2";
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> DefinitionString(const LineSettings& settings) {
    const std::optional<char> parity = ParityLetter(settings.parity);
    const std::optional<std::string> stop = StopBitsText(settings.stopBits);
    if (settings.baud == 0 || settings.dataBits < 5 || settings.dataBits > 8 || !parity || !stop)
        return std::nullopt;
    return "baud=" + std::to_string(settings.baud) + " parity=" + *parity +
           " data=" + std::to_string(settings.dataBits) + " stop=" + *stop;
}

}  // namespace sys::win32
