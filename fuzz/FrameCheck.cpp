#include "fuzz/FrameCheck.h"

#include <algorithm>

#include "fuzz/Check.h"
#include "link/SerialLink.h"

namespace fuzz {

std::vector<ExchangeRecord> Exchanges(const fake::PortState& line) {
    std::vector<ExchangeRecord> exchanges;
    bool discarded = false;
    for (const fake::Call& call : line.calls) {
        switch (call.kind) {
        case fake::Call::Kind::DiscardAll:
        case fake::Call::Kind::DiscardInput: discarded = true; break;
        case fake::Call::Kind::Write:
            FUZZ_CHECK(!call.written.empty() && call.written.size() <= 256);
            exchanges.push_back({call.written, {}, discarded, 0});
            discarded = false;
            break;
        case fake::Call::Kind::Read:
            FUZZ_CHECK(!exchanges.empty());
            exchanges.back().reads.push_back(call.read);
            FUZZ_CHECK(exchanges.back().reads.size() <= 256 + 5);
            break;
        case fake::Call::Kind::ClearError:
            FUZZ_CHECK(!exchanges.empty());
            ++exchanges.back().clearErrors;
            break;
        }
    }
    return exchanges;
}

ReplySeen Summarise(const ExchangeRecord& record) {
    ReplySeen seen;
    for (const fake::Step& read : record.reads) {
        if (read.status == sys::ReadStatus::Byte)
            seen.bytes.push_back(read.byte);
        else if (read.status == sys::ReadStatus::Empty)
            ++seen.empties;
        else
            seen.failed = true;
    }
    return seen;
}

bool IsValidFrame(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < 2) return false;
    const std::size_t n = bytes[1];
    if (bytes.size() != std::max<std::size_t>(n + 1, 2)) return false;
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i <= n; ++i)
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    return sum == 0xFF;
}

void CheckRequest(const ExchangeRecord& record, std::uint8_t command, std::uint8_t length,
                  const std::uint8_t* data, std::size_t dataSize) {
    const std::vector<std::uint8_t>& request = record.request;
    FUZZ_CHECK(record.discardedBeforeWrite);
    FUZZ_CHECK(request.size() == std::size_t{length} + 1);
    FUZZ_CHECK(request[0] == command && request[1] == length);
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < request.size(); ++i) {
        sum = static_cast<std::uint8_t>(sum + request[i]);
        if (i >= 2 && i < length) {
            const std::size_t at = i - 2;
            FUZZ_CHECK(request[i] == (at < dataSize ? data[at] : 0));
        }
    }
    FUZZ_CHECK(sum == 0xFF);
}

void CheckResult(const ExchangeRecord& record, std::int32_t result) {
    const ReplySeen seen = Summarise(record);
    FUZZ_CHECK(!record.reads.empty());
    const sys::ReadStatus last = record.reads.back().status;
    FUZZ_CHECK(seen.empties <= 5);

    FUZZ_CHECK((result == EXCHANGE_READ_ERROR) == seen.failed);
    FUZZ_CHECK(record.clearErrors == (seen.failed ? 1 : 0));
    if (seen.failed) {
        FUZZ_CHECK(last == sys::ReadStatus::Failed);
        return;
    }
    FUZZ_CHECK((result == EXCHANGE_NO_REPLY) == (seen.empties == 5));
    if (result == EXCHANGE_NO_REPLY) {
        FUZZ_CHECK(last == sys::ReadStatus::Empty);
        return;
    }
    // A whole frame was read and nothing after it.
    FUZZ_CHECK(last == sys::ReadStatus::Byte);
    FUZZ_CHECK(seen.bytes.size() >= 2);
    FUZZ_CHECK(seen.bytes.size() == std::max<std::size_t>(seen.bytes[1] + 1u, 2));
    if (result == EXCHANGE_BAD_CHECKSUM) {
        FUZZ_CHECK(!IsValidFrame(seen.bytes));
        return;
    }
    FUZZ_CHECK(result >= 0 && result <= 255);
    FUZZ_CHECK(IsValidFrame(seen.bytes));
    FUZZ_CHECK(result == seen.bytes[1]);
}

}  // namespace fuzz
