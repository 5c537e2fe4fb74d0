#pragma once

#include <string>

// The path that opens a port by its short name: \\.\COM3.
inline std::string DevicePathOf(const std::string& portName) { return "\\\\.\\" + portName; }
