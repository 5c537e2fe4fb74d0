#pragma once
// The Linux program's start: the Qt application, then the framework's main routine.

#include <functional>
#include <memory>
#include <string>

namespace afx::qt {

// Something the program runs beside its dialog while the Qt application exists (marlox-demo's
// simulator); destroyed after the framework's main routine returns.
class ProgramService {
public:
    virtual ~ProgramService() = default;
};
using ServiceStarter = std::function<std::unique_ptr<ProgramService>()>;

// Registers the Qt back end and runs the framework's main routine, with startService (if any)
// called once the Qt application exists, before the dialog. programPath names the application:
// its file name without extension, first letter in capitals (Linux programs are installed in
// lower case; "marlox" is the application "Marlox"), which is also the caption of its message
// boxes. Empty: the running executable.
int RunProgram(int argc, char* argv[], const std::string& programPath = {},
               const ServiceStarter& startService = {});

// "Marlox" for "/usr/bin/marlox".
std::string ApplicationName(const std::string& programPath);

}  // namespace afx::qt
