// marlox: the tester dialog over the Qt back end, listing the machine's ports from sysfs.
#include "afx/qt/Program.h"

int main(int argc, char* argv[]) { return afx::qt::RunProgram(argc, argv); }
