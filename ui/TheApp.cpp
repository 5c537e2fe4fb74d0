// The one application object. Compiled into each program (a global in a static library would
// never be linked in), constructed before the framework's main routine runs.
#include "ui/TesterApp.h"

CTesterApp theApp;
