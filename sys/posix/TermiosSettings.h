#pragma once
// Raw termios settings from the neutral line settings.

#include <termios.h>

#include "sys/SerialPort.h"

namespace sys {

// Turns the terminal settings raw (no echo, no translation, no flow control, reads never block)
// with the given speed and character format. False, with the settings untouched, when termios
// has no such speed, the data bits are outside 5 to 8, 1.5 stop bits come with other than 5
// data bits, or a value is unknown.
bool MakeRawTermios(const LineSettings& settings, termios& terminal);

// Applies MakeRawTermios to the terminal, reads the settings back and fails when they did not
// stick. A pseudo-terminal drops parity and character size: on one, only those may differ.
bool ApplyTermiosSettings(int fd, const LineSettings& settings, bool pseudoTerminal);

bool IsPseudoTerminal(int fd);

}  // namespace sys
