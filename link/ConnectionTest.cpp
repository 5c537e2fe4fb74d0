#include "link/ConnectionTest.h"

#include <cstring>

#include "link/SerialLink.h"

namespace {

constexpr std::size_t REPLY_AREA_SIZE = 128;
constexpr std::uint8_t NO_DATA_LENGTH = 2;
constexpr std::size_t ENGINE_CODE_WINDOW = 8;
constexpr std::size_t VERSION_WINDOW = 5;

// Eight spaces and the zero that ends them: the controller's "nothing protected".
constexpr std::uint8_t PROTECTION_NONE[9] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 0};

// The one reply area of a test run.
using ReplyArea = std::uint8_t[REPLY_AREA_SIZE];

// The area is zeroed before every inquiry, so no answer is read with leftovers of another.
std::int32_t Ask(CSerialLink& link, std::uint8_t command, ReplyArea& area) {
    std::memset(area, 0, sizeof area);
    return link.Exchange(command, NO_DATA_LENGTH, area, sizeof area);
}

std::optional<std::string> ReadText(CSerialLink& link, std::uint8_t command, std::size_t window,
                                    ReplyArea& area) {
    if (Ask(link, command, area) < 0) return std::nullopt;
    area[window] = 0;
    return std::string(reinterpret_cast<const char*>(area));
}

ProtectionResult ReadProtection(CSerialLink& link, ReplyArea& area) {
    if (Ask(link, CMD_PROTECTION, area) < 0) return ProtectionResult::NoResponse;
    return std::memcmp(area, PROTECTION_NONE, sizeof PROTECTION_NONE) == 0
               ? ProtectionResult::None
               : ProtectionResult::Protected;
}

}  // namespace

void RunConnectionTest(CSerialLink& link, TestObserver& observer) {
    ReplyArea area = {};

    observer.OnTextResult(Inquiry::EngineCode,
                          ReadText(link, CMD_ENGINECODE, ENGINE_CODE_WINDOW, area));
    observer.OnTextResult(Inquiry::Version, ReadText(link, CMD_VERSION, VERSION_WINDOW, area));

    const ProtectionResult protection = ReadProtection(link, area);
    observer.OnProtectionResult(protection);
    if (protection != ProtectionResult::NoResponse) observer.OnRefresh();

    observer.OnTextResult(Inquiry::LegacyEngineCode,
                          ReadText(link, CMD_LEGACY_ENGINECODE, ENGINE_CODE_WINDOW, area));
    observer.OnTextResult(Inquiry::LegacyVersion,
                          ReadText(link, CMD_LEGACY_VERSION, VERSION_WINDOW, area));
}
