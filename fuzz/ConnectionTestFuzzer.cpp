// RunConnectionTest over a port that plays the input (the whole input is the line script,
// LineScript.h). Checks the five requests, the order of the observer's reports, and each
// outcome against what that inquiry's reads amount to: an answer only for a frame whose
// checksum holds, its text cut to the window (8 or 5) and at the first zero byte.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/Check.h"
#include "fuzz/FrameCheck.h"
#include "fuzz/LineScript.h"
#include "link/ConnectionTest.h"
#include "link/SerialLink.h"

namespace {

constexpr std::size_t AREA_SIZE = 128;

struct Report {
    enum class Kind { Text, Protection, Refresh } kind;
    Inquiry inquiry = Inquiry::EngineCode;
    std::optional<std::string> text;
    ProtectionResult protection = ProtectionResult::NoResponse;
    std::size_t requestsWritten = 0;
};

class RecordingObserver : public TestObserver {
public:
    explicit RecordingObserver(const fake::PortState& line) : m_line(line) {}
    std::vector<Report> reports;

    void OnTextResult(Inquiry inquiry, const std::optional<std::string>& text) override {
        reports.push_back({Report::Kind::Text, inquiry, text, {}, Written()});
    }
    void OnProtectionResult(ProtectionResult result) override {
        reports.push_back({Report::Kind::Protection, {}, {}, result, Written()});
    }
    void OnRefresh() override { reports.push_back({Report::Kind::Refresh, {}, {}, {}, Written()}); }

private:
    std::size_t Written() const {
        return static_cast<std::size_t>(m_line.Count(fake::Call::Kind::Write));
    }

    const fake::PortState& m_line;
};

// The reply area as the inquiry leaves it: zeroed, then the reply's data, as much as fits.
// Empty when the inquiry got no valid answer.
std::optional<std::vector<std::uint8_t>> AnsweredArea(const fuzz::ExchangeRecord& record) {
    const fuzz::ReplySeen seen = fuzz::Summarise(record);
    if (seen.failed || seen.empties >= 5 || !fuzz::IsValidFrame(seen.bytes)) return std::nullopt;
    std::vector<std::uint8_t> area(AREA_SIZE, 0);
    const std::size_t n = seen.bytes[1];
    if (n > 2) std::copy_n(seen.bytes.begin() + 2, std::min(n - 2, AREA_SIZE), area.begin());
    return area;
}

std::optional<std::string> ExpectedText(const fuzz::ExchangeRecord& record, std::size_t window) {
    const auto area = AnsweredArea(record);
    if (!area) return std::nullopt;
    const auto end = std::find(area->begin(), area->begin() + window, 0);
    return std::string(area->begin(), end);
}

ProtectionResult ExpectedProtection(const fuzz::ExchangeRecord& record) {
    const auto area = AnsweredArea(record);
    if (!area) return ProtectionResult::NoResponse;
    static const std::uint8_t none[9] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 0};
    return std::equal(none, none + 9, area->begin()) ? ProtectionResult::None
                                                     : ProtectionResult::Protected;
}

void CheckText(const Report& report, Inquiry inquiry,
               const std::vector<fuzz::ExchangeRecord>& exchanges, std::size_t exchange,
               std::size_t window) {
    FUZZ_CHECK(report.kind == Report::Kind::Text && report.inquiry == inquiry);
    FUZZ_CHECK(report.requestsWritten == exchange + 1);  // reported before the next request
    if (report.text) {
        FUZZ_CHECK(report.text->size() <= window);
        FUZZ_CHECK(report.text->find('\0') == std::string::npos);
    }
    FUZZ_CHECK(report.text == ExpectedText(exchanges[exchange], window));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fake::FakeSerialPorts ports;
    const fake::PortState& line = *ports.state;
    ports.state->repliesToWrites = fuzz::ParseScript(data, size);
    RecordingObserver observer(line);
    {
        CSerialLink link(ports);
        FUZZ_CHECK(link.Open("scripted"));
        RunConnectionTest(link, observer);
        FUZZ_CHECK(link.IsOpen());  // the test neither opens nor closes the link
    }
    FUZZ_CHECK(line.openPorts == 0);
    const std::vector<fuzz::ExchangeRecord> exchanges = fuzz::Exchanges(line);

    static const std::uint8_t commands[5] = {CMD_ENGINECODE, CMD_VERSION, CMD_PROTECTION,
                                             CMD_LEGACY_ENGINECODE, CMD_LEGACY_VERSION};
    FUZZ_CHECK(exchanges.size() == 5);
    for (std::size_t i = 0; i < 5; ++i)
        fuzz::CheckRequest(exchanges[i], commands[i], 2, nullptr, 0);

    const std::vector<Report>& reports = observer.reports;
    FUZZ_CHECK(reports.size() == 5 || reports.size() == 6);
    CheckText(reports[0], Inquiry::EngineCode, exchanges, 0, 8);
    CheckText(reports[1], Inquiry::Version, exchanges, 1, 5);

    const Report& protection = reports[2];
    FUZZ_CHECK(protection.kind == Report::Kind::Protection && protection.requestsWritten == 3);
    FUZZ_CHECK(protection.protection == ExpectedProtection(exchanges[2]));
    std::size_t next = 3;
    if (protection.protection != ProtectionResult::NoResponse) {
        FUZZ_CHECK(reports[next].kind == Report::Kind::Refresh);
        FUZZ_CHECK(reports[next].requestsWritten == 3);
        ++next;
    }
    FUZZ_CHECK(reports.size() == next + 2);
    CheckText(reports[next], Inquiry::LegacyEngineCode, exchanges, 3, 8);
    CheckText(reports[next + 1], Inquiry::LegacyVersion, exchanges, 4, 5);
    return 0;
}
