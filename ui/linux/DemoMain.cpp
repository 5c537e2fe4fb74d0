// marlox-demo: marlox with a simulated controller at the top of the port list. Its message
// boxes are Marlox's.
#include "afx/qt/Program.h"
#include "ui/linux/DemoController.h"
#include "ui/linux/DemoPorts.h"
#include "ui/linux/QtProgram.h"

int main(int argc, char* argv[]) {
    PrepareMarloxOnQt();
    InstallDemoPorts();
    return afx::qt::RunProgram(argc, argv, "marlox", StartDemoController);
}
