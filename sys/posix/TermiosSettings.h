#pragma once
// Raw termios settings from parsed line settings.

#include <string>

#include "sys/posix/LineSettings.h"

namespace sys {

// Sets the terminal raw (no echo, no translation, no flow control, reads never block) with the
// given speed and character format, reads the settings back and fails when they did not stick.
// A pseudo-terminal drops parity and character size: on one, only those may differ.
bool ApplyTermiosSettings(int fd, const LineSettings& settings, bool pseudoTerminal);

bool IsPseudoTerminal(int fd);

}  // namespace sys
