#include "afx/qt/Program.h"

#include <QApplication>

#include "afx/App.h"
#include "afx/qt/QtBackend.h"

namespace afx::qt {

std::string ApplicationName(const std::string& programPath) {
    std::string name = AfxAppNameFromPath(programPath);
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z')
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
}

int RunProgram(int argc, char* argv[], const std::string& programPath,
               const ServiceStarter& startService) {
    QApplication application(argc, argv);
    afx::RegisterBackend(&TheQtBackend());
    const std::string path =
        programPath.empty() ? QCoreApplication::applicationFilePath().toStdString() : programPath;
    // The desktop entry of the same name supplies the window manager's icon and name.
    QGuiApplication::setDesktopFileName(QString::fromStdString(AfxAppNameFromPath(path)));
    if (CWinApp* app = AfxGetApp(); app != nullptr && *app->GetAppName() == '\0')
        app->SetAppName(ApplicationName(path));
    const std::unique_ptr<ProgramService> service = startService ? startService() : nullptr;
    const int exitCode = AfxWinMain(path);
    afx::RegisterBackend(nullptr);
    return exitCode;
}

}  // namespace afx::qt
