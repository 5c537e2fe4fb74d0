// Takes the README's screenshot of the Linux dialog after a test against a simulated protected
// controller, offscreen, in the language of the environment. Usage: gui_qt_screenshot OUT.png
#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>

#include "afx/App.h"
#include "afx/qt/Program.h"
#include "afx/qt/QtBackend.h"
#include "tests/ui/linux/TestSystem.h"
#include "tests/ui/linux/TesterDriver.h"
#include "ui/linux/QtProgram.h"

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    afx::RegisterBackend(&afx::qt::TheQtBackend());
    PrepareMarloxOnQt();
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    if (CWinApp* app = AfxGetApp()) app->SetAppName(afx::qt::ApplicationName("/usr/bin/marlox"));
    guitest::TestPorts ports;
    ports.AddSim("ttyUSB0", {"--profile", "protected"});
    bool saved = false;
    guitest::RunTesterDialog([&](guitest::DialogView& view) {
        view.ClickTest();
        saved = view.Dialog()->grab().save(QString::fromLocal8Bit(argv[1]), "png");
    });
    return saved ? 0 : 1;
}
