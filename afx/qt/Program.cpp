#include "afx/qt/Program.h"

#include <QApplication>

#include <stdexcept>

#include "afx/App.h"
#include "afx/qt/QtBackend.h"

namespace afx::qt {
namespace {
const unsigned char* g_resourceBytes = nullptr;
std::size_t g_resourceSize = 0;
}  // namespace

void UseProgramResources(const unsigned char* bytes, std::size_t size) {
    g_resourceBytes = bytes;
    g_resourceSize = size;
}

const afx::res::ProgramResources& Resources() {
    static const afx::res::ResFile file = [] {
        if (g_resourceBytes == nullptr)
            throw std::logic_error("the program has handed over no resources");
        return afx::res::ResFile(g_resourceBytes, g_resourceSize);
    }();
    static const afx::res::ProgramResources resources(file, afx::res::UserLanguage());
    return resources;
}

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
