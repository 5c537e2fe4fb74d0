#include "ui/linux/DemoController.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include <sys/prctl.h>

#include <csignal>
#include <cstdio>

namespace {

constexpr int START_TIMEOUT_MS = 5000;
constexpr int STOP_TIMEOUT_MS = 2000;

std::string g_path;

QString SimulatorProgram() {
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/marlox-sim");
    if (QFileInfo(beside).isExecutable()) return beside;
#ifdef MARLOX_SIM_BUILD_PATH
    return QStringLiteral(MARLOX_SIM_BUILD_PATH);  // run from the build tree
#else
    return beside;
#endif
}

class DemoController : public afx::qt::ProgramService {
public:
    bool Start() {
        // A protected controller shows every field and the protection icon.
        m_process.setProgram(SimulatorProgram());
        m_process.setArguments({QStringLiteral("--profile"), QStringLiteral("protected"),
                                QStringLiteral("--log"), QStringLiteral("/dev/null")});
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.setStandardErrorFile(QProcess::nullDevice());
        // Should the demo be killed, the simulator goes too (and removes its pty).
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_process.start(QIODevice::ReadOnly);
        if (!m_process.waitForStarted(START_TIMEOUT_MS)) return false;
        // The simulator prints its pty's path as its first line.
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(START_TIMEOUT_MS)) return false;
        }
        g_path = QString::fromLocal8Bit(m_process.readLine()).trimmed().toStdString();
        return !g_path.empty();
    }

    ~DemoController() override {
        g_path.clear();
        if (m_process.state() == QProcess::NotRunning) return;
        m_process.terminate();  // SIGTERM: the simulator closes its pty and exits
        if (!m_process.waitForFinished(STOP_TIMEOUT_MS)) m_process.kill();
        m_process.waitForFinished(STOP_TIMEOUT_MS);
    }

private:
    QProcess m_process;
};

}  // namespace

std::unique_ptr<afx::qt::ProgramService> StartDemoController() {
    auto controller = std::make_unique<DemoController>();
    if (!controller->Start()) {
        std::fprintf(stderr, "marlox-demo: the simulated controller (%s) did not start\n",
                     qPrintable(SimulatorProgram()));
        g_path.clear();
    }
    return controller;
}

const std::string& DemoControllerPath() { return g_path; }
