// marlox: the tester dialog over the Qt back end, listing the machine's ports from sysfs.
#include "afx/qt/Program.h"
#include "ui/linux/QtProgram.h"

int main(int argc, char* argv[]) {
    PrepareMarloxOnQt();
    return afx::qt::RunProgram(argc, argv);
}
