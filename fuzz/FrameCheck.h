#pragma once
// Properties every exchange must have, judged from what the port saw (its request and its
// reads) by the frame rules alone. Each violation aborts.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/sys/FakeSerialPort.h"

namespace fuzz {

// What one exchange saw: its request and every read and error clear up to the next request.
struct ExchangeRecord {
    std::vector<std::uint8_t> request;
    std::vector<fake::Step> reads;
    bool discardedBeforeWrite = false;  // since the previous request
    int clearErrors = 0;
};

// The port's calls split at each request. Checks on the way that nothing is read or cleared
// before the first request, that each request is 1 to 256 bytes, and that no exchange reads
// more than a reply needs: at most 256 bytes and five empty reads, and a failure ends it at once.
std::vector<ExchangeRecord> Exchanges(const fake::PortState& line);

struct ReplySeen {
    std::vector<std::uint8_t> bytes;  // received, in order
    int empties = 0;
    bool failed = false;
};

ReplySeen Summarise(const ExchangeRecord& record);

// bytes holds exactly one frame: N + 1 bytes (at least two) whose bytes 0..N sum to 0xFF.
bool IsValidFrame(const std::vector<std::uint8_t>& bytes);

// The request on the wire: command, N, the first N - 2 bytes of data (zeros past dataSize),
// the complement checksum; written after a discard of the input.
void CheckRequest(const ExchangeRecord& record, std::uint8_t command, std::uint8_t length,
                  const std::uint8_t* data, std::size_t dataSize);

// The result agrees with the reads: -1 exactly after a failed read (error state cleared),
// -3 exactly after the fifth empty read, and otherwise the reads stopped at the end of the
// frame, which is accepted (result N) exactly when its checksum holds.
void CheckResult(const ExchangeRecord& record, std::int32_t result);

}  // namespace fuzz
