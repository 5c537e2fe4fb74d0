// CSerialLink::Exchange over a port that plays the input. Input: one byte giving the number
// of exchanges (1 to 4), four bytes per exchange (command, length byte, area size low/high),
// then the line script (LineScript.h). The caller's area is a heap block of exactly its
// size, so ASan stops any write past it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz/Check.h"
#include "fuzz/FrameCheck.h"
#include "fuzz/LineScript.h"
#include "link/SerialLink.h"

namespace {

constexpr std::size_t MAX_EXCHANGES = 4;
constexpr std::size_t HEADER_PER_EXCHANGE = 4;
constexpr std::size_t MAX_AREA = 300;  // past the 253 data bytes a reply can carry

struct Request {
    std::uint8_t command;
    std::uint8_t length;
    std::size_t areaSize;
};

void CheckArea(const std::vector<std::uint8_t>& before, const std::uint8_t* area,
               const fuzz::ExchangeRecord& record, std::int32_t result) {
    const std::size_t size = before.size();
    std::size_t copied = 0;
    if (result > 2) {
        const fuzz::ReplySeen seen = fuzz::Summarise(record);
        copied = std::min<std::size_t>(static_cast<std::size_t>(result) - 2, size);
        FUZZ_CHECK(std::equal(area, area + copied, seen.bytes.begin() + 2));
    }
    // A negative result leaves the area untouched; a success only its first bytes.
    FUZZ_CHECK(std::equal(area + copied, area + size, before.begin() + copied));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t count = 1 + data[0] % MAX_EXCHANGES;
    if (size < 1 + count * HEADER_PER_EXCHANGE) return 0;
    std::vector<Request> requests;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* header = data + 1 + i * HEADER_PER_EXCHANGE;
        requests.push_back({header[0], std::max<std::uint8_t>(header[1], 2),
                            (header[2] | std::size_t{header[3]} << 8) % (MAX_AREA + 1)});
    }
    const std::size_t scriptStart = 1 + count * HEADER_PER_EXCHANGE;

    fake::FakeSerialPorts ports;
    const fake::PortState& line = *ports.state;
    ports.state->repliesToWrites = fuzz::ParseScript(data + scriptStart, size - scriptStart);
    {
        CSerialLink link(ports);
        FUZZ_CHECK(link.Open("scripted"));
        for (std::size_t i = 0; i < requests.size(); ++i) {
            const Request& request = requests[i];
            std::unique_ptr<std::uint8_t[]> area(new std::uint8_t[request.areaSize]);
            for (std::size_t k = 0; k < request.areaSize; ++k)
                area[k] = static_cast<std::uint8_t>(k * 37 + i + 0x11);
            const std::vector<std::uint8_t> before(area.get(), area.get() + request.areaSize);

            const std::int32_t result =
                link.Exchange(request.command, request.length, area.get(), request.areaSize);

            const std::vector<fuzz::ExchangeRecord> exchanges = fuzz::Exchanges(line);
            FUZZ_CHECK(exchanges.size() == i + 1);
            const fuzz::ExchangeRecord& record = exchanges.back();
            fuzz::CheckRequest(record, request.command, request.length, before.data(),
                               before.size());
            fuzz::CheckResult(record, result);
            CheckArea(before, area.get(), record, result);
            FUZZ_CHECK(link.IsOpen());  // a failed exchange leaves the port to the caller
        }
        link.Close();
        FUZZ_CHECK(!link.IsOpen());
        FUZZ_CHECK(line.openPorts == 0);
    }
    return 0;
}
