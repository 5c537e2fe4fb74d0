#pragma once
// The fuzz input as the replies of the scripted port (tests/sys/FakeSerialPort.h). Byte 0xFE
// escapes:
//   FE 00  an empty read (the read time-out passed)
//   FE 01  a failed read
//   FE 02  the end of what arrives for this request; the rest arrives after the next write
//   FE xx  the byte xx (so FE FE is FE)
// Once the input is used up every read is empty.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "tests/sys/FakeSerialPort.h"

namespace fuzz {

constexpr std::uint8_t ESCAPE = 0xFE;
constexpr std::uint8_t ESC_EMPTY = 0x00;
constexpr std::uint8_t ESC_FAIL = 0x01;
constexpr std::uint8_t ESC_END_OF_PART = 0x02;

// Splits the input into the parts that arrive after each write.
std::deque<std::vector<fake::Step>> ParseScript(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
