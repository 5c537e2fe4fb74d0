// The compiled Marlox.res, embedded in the Linux program (the Windows program links Marlox.rc).
#pragma once

#include <cstddef>
#include <utility>

// The bytes of the 32-bit .res: static storage, valid for the whole run.
std::pair<const unsigned char*, std::size_t> MarloxResources();
