// GoogleTest with a QApplication, offscreen: the dialog runs in-process, no display needed.
#include <QApplication>

#include <gtest/gtest.h>

#include "afx/App.h"
#include "afx/qt/Program.h"
#include "afx/qt/QtBackend.h"
#include "ui/linux/QtProgram.h"

int main(int argc, char* argv[]) {
    // Offscreen, unless the test names its own offscreen screen (a larger font, say).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    afx::RegisterBackend(&afx::qt::TheQtBackend());
    PrepareMarloxOnQt();
    // As the program names itself when started as /usr/bin/marlox.
    if (CWinApp* app = AfxGetApp()) app->SetAppName(afx::qt::ApplicationName("/usr/bin/marlox"));
    return RUN_ALL_TESTS();
}
