#pragma once
// The neutral serial settings in the terms of the Windows communications API: PurgeComm flags,
// COMMTIMEOUTS values and the definition string BuildCommDCBA reads. Kept free of windows.h so
// the mapping can be unit-tested on any host; Win32SerialPort.cpp checks the constants against
// the real ones.

#include <cstdint>
#include <optional>
#include <string>

#include "sys/SerialPort.h"

namespace sys::win32 {

constexpr std::uint32_t PURGE_TX_ABORT = 0x01;
constexpr std::uint32_t PURGE_RX_ABORT = 0x02;
constexpr std::uint32_t PURGE_TX_CLEAR = 0x04;
constexpr std::uint32_t PURGE_RX_CLEAR = 0x08;

// A read interval of this value with a read total returns a read as soon as a byte is there.
constexpr std::uint32_t READ_INTERVAL_NONE = 0xFFFFFFFFu;

constexpr std::uint32_t PurgeFlags(DiscardScope scope) {
    // Aborting too, not only clearing: nothing pending may complete after the discard.
    return scope == DiscardScope::All
               ? PURGE_TX_ABORT | PURGE_RX_ABORT | PURGE_TX_CLEAR | PURGE_RX_CLEAR
               : PURGE_RX_ABORT | PURGE_RX_CLEAR;
}

// The fields of COMMTIMEOUTS, in its order.
struct CommTimeoutValues {
    std::uint32_t readInterval = 0;
    std::uint32_t readTotalMultiplier = 0;
    std::uint32_t readTotalConstant = 0;
    std::uint32_t writeTotalMultiplier = 0;
    std::uint32_t writeTotalConstant = 0;
};

// Windows bounds a transfer of n bytes by multiplier * n + constant. With 1 ms per byte, a
// constant one less than the wait makes a one-byte read wait exactly that long. nullopt for 0.
constexpr std::optional<CommTimeoutValues> TimeoutsForByteWait(std::uint32_t milliseconds) {
    if (milliseconds == 0) return std::nullopt;
    return CommTimeoutValues{READ_INTERVAL_NONE, 1, milliseconds - 1, 1, milliseconds - 1};
}

// "baud=19200 parity=e data=8 stop=1" for 19200 8E1; nullopt for settings it cannot express
// (no speed, data bits outside 5 to 8, an unknown parity or stop-bit value).
std::optional<std::string> DefinitionString(const LineSettings& settings);

}  // namespace sys::win32
