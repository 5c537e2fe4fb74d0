#pragma once
// The Linux program's start: what it hands the Qt back end, the Qt application, then the
// framework's main routine.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "afx/Types.h"

namespace afx::qt {

// The program's compiled resources (a 32-bit .res, valid for the whole run), handed over once,
// before its first dialog.
void UseProgramResources(const unsigned char* bytes, std::size_t size);

// What F1 does in a dialog whose system menu carries sysCommand: that command, as if chosen
// from the menu (a program that offers no help file may show its About box). Elsewhere, and by
// default (0), F1 is WM_HELP.
void SetHelpKeyCommand(UINT sysCommand);

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
