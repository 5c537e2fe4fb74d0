#include "tools/sim/Log.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <system_error>

namespace sim {

Log::Log(const std::string& path) : m_out(&std::cerr) {
    if (path.empty()) return;
    m_file.open(path, std::ios::out | std::ios::trunc);
    if (!m_file) throw std::system_error(errno, std::generic_category(), "--log " + path);
    m_out = &m_file;
}

void Log::Line(const std::string& text) {
    const double seconds = std::chrono::duration<double>(Clock::now() - m_start).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "[%11.6f] ", seconds);
    // Flushed per line: tests and people read the log while the simulator runs.
    *m_out << stamp << text << std::endl;
}

}  // namespace sim
