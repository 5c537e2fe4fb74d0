#pragma once
// The simulator's log: one line per event, stamped with the seconds since start.

#include <fstream>
#include <string>

#include "tools/sim/Wait.h"

namespace sim {

class Log {
public:
    // Empty path: stderr. Throws std::system_error when the file cannot be opened.
    explicit Log(const std::string& path);
    void Line(const std::string& text);

private:
    std::ofstream m_file;
    std::ostream* m_out;
    Clock::time_point m_start = Clock::now();
};

}  // namespace sim
