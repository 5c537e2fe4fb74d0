#include "link/ConnectionTest.h"

#include <chrono>
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

// One test run: the link, the observer and the one reply area.
struct Run {
    CSerialLink& link;
    TestObserver& observer;
    ReplyArea area = {};
};

// The area is zeroed before every inquiry, so no answer is read with leftovers of another.
std::int32_t Ask(Run& run, Inquiry inquiry, std::uint8_t command) {
    std::memset(run.area, 0, sizeof run.area);
    const auto start = std::chrono::steady_clock::now();
    const std::int32_t result =
        run.link.Exchange(command, NO_DATA_LENGTH, run.area, sizeof run.area);
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    run.observer.OnExchange(
        ExchangeRecord{inquiry, command, result, run.link.LastReply(), elapsed.count()});
    return result;
}

std::optional<std::string> ReadText(Run& run, Inquiry inquiry, std::uint8_t command,
                                    std::size_t window) {
    if (Ask(run, inquiry, command) < 0) return std::nullopt;
    run.area[window] = 0;
    return std::string(reinterpret_cast<const char*>(run.area));
}

ProtectionResult ReadProtection(Run& run) {
    ReplyArea& area = run.area;
    if (Ask(run, Inquiry::Protection, CMD_PROTECTION) < 0) return ProtectionResult::NoResponse;
    return std::memcmp(area, PROTECTION_NONE, sizeof PROTECTION_NONE) == 0
               ? ProtectionResult::None
               : ProtectionResult::Protected;
}

}  // namespace

void RunConnectionTest(CSerialLink& link, TestObserver& observer) {
    Run run{link, observer};

    observer.OnTextResult(Inquiry::EngineCode,
                          ReadText(run, Inquiry::EngineCode, CMD_ENGINECODE, ENGINE_CODE_WINDOW));
    observer.OnTextResult(Inquiry::Version,
                          ReadText(run, Inquiry::Version, CMD_VERSION, VERSION_WINDOW));

    const ProtectionResult protection = ReadProtection(run);
    observer.OnProtectionResult(protection);
    if (protection != ProtectionResult::NoResponse) observer.OnRefresh();

    observer.OnTextResult(
        Inquiry::LegacyEngineCode,
        ReadText(run, Inquiry::LegacyEngineCode, CMD_LEGACY_ENGINECODE, ENGINE_CODE_WINDOW));
    observer.OnTextResult(Inquiry::LegacyVersion, ReadText(run, Inquiry::LegacyVersion,
                                                           CMD_LEGACY_VERSION, VERSION_WINDOW));
}
