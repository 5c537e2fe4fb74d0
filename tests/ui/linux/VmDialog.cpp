// The tester dialog on the machine's own ports and kernel events, offscreen, for the QEMU lab
// (scripts/vm-test.sh), where no screen reader runs. Its drop-down is never opened.
//   stdin:  "test NAME" selects the entry of tty NAME (its "(NAME)" suffix) and clicks TEST;
//           the end of input closes the dialog.
//   stdout: "list E1|E2|..." at start and whenever the entries change; for a test "testing
//           NAME", then "tested NAME" and the five result fields as shown, joined by "|"
//           (or "not-listed NAME").
#include <QApplication>
#include <QComboBox>
#include <QTest>

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "afx/App.h"
#include "afx/qt/Program.h"
#include "afx/qt/QtBackend.h"
#include "res/resource.h"
#include "tests/ui/linux/TesterDriver.h"
#include "ui/linux/QtProgram.h"

namespace {

// One line of stdin once a whole one is there; false at the end of input.
class Commands {
public:
    bool Next(std::string& line) {
        for (;;) {
            const std::size_t end = m_buffer.find('\n');
            if (end != std::string::npos) {
                line = m_buffer.substr(0, end);
                m_buffer.erase(0, end + 1);
                return true;
            }
            pollfd input{STDIN_FILENO, POLLIN, 0};
            if (::poll(&input, 1, 0) <= 0) {
                line.clear();
                return true;
            }
            char chunk[256];
            const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
            if (got <= 0) return false;
            m_buffer.append(chunk, static_cast<std::size_t>(got));
        }
    }

private:
    std::string m_buffer;
};

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void Test(guitest::DialogView& view, const std::string& tty) {
    const int index =
        view.PortCombo()->findText("(" + QString::fromStdString(tty) + ")", Qt::MatchEndsWith);
    if (index < 0) {
        Say("not-listed " + tty);
        return;
    }
    view.PortCombo()->setCurrentIndex(index);
    Say("testing " + tty);
    view.ClickTest();
    std::string fields;
    for (int id :
         {IDC_ENGINECODE, IDC_VERSION, IDC_PROTECTION, IDC_LEGACY_ENGINECODE, IDC_LEGACY_VERSION})
        fields += (fields.empty() ? "" : "|") + view.Text(id);
    Say("tested " + tty + " " + fields);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    afx::RegisterBackend(&afx::qt::TheQtBackend());
    PrepareMarloxOnQt();
    if (CWinApp* app = AfxGetApp()) app->SetAppName(afx::qt::ApplicationName("/usr/bin/marlox"));

    guitest::RunTesterDialog([](guitest::DialogView& view) {
        Commands commands;
        QStringList shown{"-"};
        std::string command;
        while (commands.Next(command)) {
            if (view.PortEntries() != shown) {
                shown = view.PortEntries();
                Say("list " + shown.join('|').toStdString());
            }
            if (command.rfind("test ", 0) == 0) Test(view, command.substr(5));
            QTest::qWait(10);
        }
    });
    afx::RegisterBackend(nullptr);
    return 0;
}
