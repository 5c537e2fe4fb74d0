// String resources: blocks of 16 counted UTF-16 strings, block id/16 + 1 holding id.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "afx/res/ByteView.h"
#include "afx/res/ResFile.h"

namespace afx::res {

constexpr std::size_t STRINGS_PER_BLOCK = 16;

// The 16 strings of one RT_STRING block, UTF-8. Throws FormatError on truncated data.
std::array<std::string, STRINGS_PER_BLOCK> ParseStringBlock(ByteView data);

// The string with this id in the best-matching language, UTF-8; nullopt when there is none
// (an empty string counts as none, as for the platform's LoadString).
std::optional<std::string> LoadString(const ResFile& file, std::uint16_t id,
                                      std::uint16_t language);

}  // namespace afx::res
