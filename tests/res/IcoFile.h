// An icon group of the program's resources as the bytes of an .ico file, for comparing the
// framework's icons with what an image loader reads from the same images.
#pragma once

#include <cstdint>
#include <vector>

#include "afx/res/ProgramResources.h"

namespace restest {

// Empty when the group is missing.
std::vector<std::uint8_t> IcoFile(const afx::res::ProgramResources& resources,
                                  std::uint16_t groupId);

}  // namespace restest
