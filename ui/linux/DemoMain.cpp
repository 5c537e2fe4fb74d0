// marlox-demo: marlox with a simulated controller at the top of the port list. Its message
// boxes are Marlox's.
#include "afx/qt/Program.h"
#include "ui/linux/DemoController.h"

int main(int argc, char* argv[])
{
    return afx::qt::RunProgram(argc, argv, "marlox", StartDemoController);
}
