#pragma once
// The standard input, output and error of a command-line tool.

namespace sys {

// Gives each standard descriptor the tool was started without (`2>&-`) a stand-in, so nothing
// the tool opens later takes its number: a serial port opened as descriptor 2 would receive the
// trace meant for standard error. Reads from a stand-in find the end and writes to it fail, as
// on the closed descriptor. Call it first thing. False when no stand-in can be opened.
bool ReserveStandardDescriptors();

}  // namespace sys
