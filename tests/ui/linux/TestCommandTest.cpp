// The TEST command end to end: the dialog's port list comes from the port inventory over a
// sysfs tree whose ports are marlox-sim ptys; results are read back from the controls.
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QTest>

#include <optional>

#include <gtest/gtest.h>

#include "afx/afxwin.h"
#include "res/resource.h"
#include "sys/SerialPort.h"
#include "tests/ui/linux/TestSystem.h"
#include "tests/ui/linux/TesterDriver.h"
#include "tests/sys/TtyHolder.h"
#include "ui/TesterDlg.h"

namespace guitest {
namespace {

const std::vector<std::string> SIM_TEXTS = {
    "--engine-code",        "E1QT0001", "--version",        "V9.87",
    "--legacy-engine-code", "E2QT0002", "--legacy-version", "V6.54"};

std::vector<std::string> Profile(const std::string& profile) {
    std::vector<std::string> args = {"--profile", profile};
    args.insert(args.end(), SIM_TEXTS.begin(), SIM_TEXTS.end());
    return args;
}

struct Fields {
    std::string engineCode, version, protection, legacyEngineCode, legacyVersion;
};

Fields Read(const DialogView& view) {
    return {view.Text(IDC_ENGINECODE), view.Text(IDC_VERSION), view.Text(IDC_PROTECTION),
            view.Text(IDC_LEGACY_ENGINECODE), view.Text(IDC_LEGACY_VERSION)};
}

// Records the protection icon's visibility changes and what the dialog painted meanwhile.
class IconWatch : public QObject {
public:
    IconWatch(QWidget* dialog, QWidget* icon) : m_dialog(dialog), m_icon(icon) {
        dialog->installEventFilter(this);
        icon->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_icon && (event->type() == QEvent::Hide || event->type() == QEvent::Show))
            events.push_back(event->type() == QEvent::Hide ? "hide" : "show");
        if (watched == m_dialog && event->type() == QEvent::Paint)
            events.push_back(m_icon->isVisible() ? "paint with icon" : "paint without icon");
        return false;
    }
    std::vector<std::string> events;

private:
    QWidget* m_dialog;
    QWidget* m_icon;
};

TEST(TestCommand, UnprotectedControllerFillsTarvexFieldsAndNone) {
    TestPorts ports;
    sim::SimProcess& sim = ports.AddSim("ttyS0", Profile("tarvex"));
    RunTesterDialog([&](DialogView& view) {
        EXPECT_EQ(view.PortCombo()->currentIndex(), 0);
        view.ClickTest();
        const Fields fields = Read(view);
        EXPECT_EQ(fields.engineCode, "E1QT0001");
        EXPECT_EQ(fields.version, "V9.87");
        EXPECT_EQ(fields.protection, "None");
        EXPECT_EQ(fields.legacyEngineCode, "No respond");
        EXPECT_EQ(fields.legacyVersion, "No respond");
        EXPECT_FALSE(view.Visible(IDC_PROTECTION_ICON));
        EXPECT_TRUE(view.Enabled(IDC_TEST));
    });
    EXPECT_EQ(sim.RequestLines().size(), 5u);
}

TEST(TestCommand, ProtectedControllerShowsIconWhichTheNextTestHidesAtOnce) {
    TestPorts ports;
    ports.AddSim("ttyS0", Profile("protected"));
    RunTesterDialog([&](DialogView& view) {
        view.ClickTest();
        EXPECT_EQ(view.Text(IDC_PROTECTION), "Protected");
        EXPECT_TRUE(view.Visible(IDC_PROTECTION_ICON));

        IconWatch watch(view.Dialog(), view.Control(IDC_PROTECTION_ICON));
        view.ClickTest();
        EXPECT_TRUE(view.Visible(IDC_PROTECTION_ICON));
        // Hidden and painted so before the inquiries, shown again after the protection answer.
        const std::vector<std::string>& events = watch.events;
        const auto hidden = std::find(events.begin(), events.end(), "hide");
        ASSERT_NE(hidden, events.end());
        const auto painted = std::find(hidden, events.end(), "paint without icon");
        const auto shown = std::find(hidden, events.end(), "show");
        EXPECT_NE(painted, events.end());
        EXPECT_NE(shown, events.end());
        EXPECT_LT(painted, shown);
        EXPECT_EQ(view.Text(IDC_PROTECTION), "Protected");
    });
}

TEST(TestCommand, LegacyControllerAnswersOnlyTheLegacyInquiries) {
    TestPorts ports;
    ports.AddSim("ttyS0", Profile("legacy"));
    RunTesterDialog([&](DialogView& view) {
        view.ClickTest();
        const Fields fields = Read(view);
        EXPECT_EQ(fields.engineCode, "No respond");
        EXPECT_EQ(fields.version, "No respond");
        EXPECT_EQ(fields.protection, "No respond");
        EXPECT_EQ(fields.legacyEngineCode, "E2QT0002");
        EXPECT_EQ(fields.legacyVersion, "V6.54");
        EXPECT_FALSE(view.Visible(IDC_PROTECTION_ICON));
    });
}

TEST(TestCommand, SilentPortGivesNoRespondEverywhere) {
    TestPorts ports;
    ports.AddSim("ttyS0", Profile("silent"));
    RunTesterDialog([&](DialogView& view) {
        view.ClickTest();
        const Fields fields = Read(view);
        for (const std::string& text : {fields.engineCode, fields.version, fields.protection,
                                        fields.legacyEngineCode, fields.legacyVersion})
            EXPECT_EQ(text, "No respond");
        EXPECT_TRUE(view.Enabled(IDC_TEST));
    });
}

TEST(TestCommand, PortHeldElsewhereGivesOneMessageBoxWithTheReasonAndChangesNothing) {
    TestPorts ports;
    sim::SimProcess& sim = ports.AddSim("ttyS0", Profile("tarvex"));
    // Held by an exclusive open of the same kind, then by another program's plain open(), which
    // the reason names.
    for (const bool plainOpen : {false, true}) {
        std::unique_ptr<sys::SerialPort> exclusive;
        std::optional<testutil::TtyHolder> program;
        if (plainOpen)
            program.emplace(sim.Path());
        else
            exclusive = sys::SystemSerialPorts().OpenExclusive(ports.DevRoot() + "/ttyS0").port;
        ASSERT_TRUE(exclusive || program->Pid() > 0);
        RunTesterDialog([&](DialogView& view) {
            std::vector<std::pair<QString, QString>> boxes;
            OnNextWindow closer([&](QWidget* window) {
                auto* box = qobject_cast<QMessageBox*>(window);
                ASSERT_NE(box, nullptr);
                boxes.emplace_back(box->windowTitle(), box->text());
                box->accept();
            });
            view.ClickTest();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].first, "Marlox");
            const QStringList lines = boxes[0].second.split('\n');
            ASSERT_EQ(lines.size(), 2) << boxes[0].second.toStdString();
            EXPECT_EQ(lines[0], "Can not open COM Port");
            if (plainOpen) {
                EXPECT_EQ(lines[1], QString("in use by sleep (PID %1)").arg(program->Pid()));
            } else {
                EXPECT_FALSE(lines[1].isEmpty());  // the system's reason
            }
            const Fields fields = Read(view);
            EXPECT_EQ(fields.engineCode + fields.version + fields.protection +
                          fields.legacyEngineCode + fields.legacyVersion,
                      "");
            EXPECT_TRUE(view.Enabled(IDC_TEST));
        });
    }
    EXPECT_TRUE(sim.RequestLines().empty());
}

// The dialog's English reasons, from its string table, read as marlox-probe writes them.
TEST(TestCommand, EveryReasonReadsAsTheProbeWritesIt) {
    using Kind = sys::OpenFailure::Kind;
    for (int kind = static_cast<int>(Kind::None); kind <= static_cast<int>(Kind::System); ++kind) {
        for (const bool detailed : {false, true}) {
            sys::OpenFailure failure;
            failure.kind = static_cast<Kind>(kind);
            failure.lockOwner = 1234;
            failure.lockFile = "/var/lock/LCK..ttyUSB0";
            failure.systemText = "Input/output error";
            if (detailed) {
                failure.group = "dialout";
                failure.holders = {{1234, "picocom"}, {1240, ""}};
            }
            EXPECT_EQ(OpenFailureReason(failure).Str(), sys::OpenFailureText(failure)) << kind;
        }
    }
}

TEST(TestCommand, EmptyPortListRefusesTestWithAMessage) {
    TestPorts ports;  // no ports at all
    RunTesterDialog([&](DialogView& view) {
        EXPECT_EQ(view.PortCombo()->count(), 0);
        EXPECT_EQ(view.PortCombo()->currentIndex(), -1);
        QString text;
        OnNextWindow closer([&](QWidget* window) {
            if (auto* box = qobject_cast<QMessageBox*>(window)) {
                text = box->text();
                box->accept();
            }
        });
        view.ClickTest();
        EXPECT_TRUE(closer.Fired());
        EXPECT_FALSE(text.isEmpty());
        EXPECT_TRUE(view.Enabled(IDC_TEST));
        EXPECT_TRUE(view.Dialog()->isVisible());  // the dialog goes on
    });
}

TEST(TestCommand, DiscoveryFailureIsShownAndTheDialogOpensAnyway) {
    TestPorts ports;
    ports.FailVersionQuery();
    QString text;
    OnNextWindow closer([&](QWidget* window) {
        if (auto* box = qobject_cast<QMessageBox*>(window)) {
            text = box->text();
            box->accept();
        }
    });
    RunTesterDialog([&](DialogView& view) { EXPECT_EQ(view.PortCombo()->count(), 0); });
    EXPECT_TRUE(text.startsWith("Could not get OS version.")) << text.toStdString();
}

TEST(TestCommand, ClicksAndEnterQueuedDuringATestDoNotStartAnother) {
    TestPorts ports;
    sim::SimProcess& sim = ports.AddSim("ttyS0", Profile("protected"));
    RunTesterDialog([&](DialogView& view) {
        // Delivered at the command's first pumping, while TEST is disabled.
        QWidget* test = view.Control(IDC_TEST);
        const QPointF middle = test->rect().center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(
                test, new QMouseEvent(type, middle, test->mapToGlobal(middle), Qt::LeftButton,
                                      Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(
            view.Dialog(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
        view.ClickTest();
        QTest::qWait(50);
        EXPECT_TRUE(view.Enabled(IDC_TEST));
    });
    EXPECT_EQ(sim.RequestLines().size(), 5u);
}

TEST(TestCommand, LeadingSimulatedPortComesFirstAndIsTested) {
    // How marlox-demo lists its simulated controller above the machine's ports.
    TestPorts ports;
    ports.AddSim("ttyS0", Profile("silent"));
    ports.AddLeadingSim("Simulated controller (demo)", Profile("tarvex"));
    RunTesterDialog([&](DialogView& view) {
        EXPECT_EQ(view.PortEntries(),
                  QStringList({"Simulated controller (demo)", "Serial port (ttyS0)"}));
        view.ClickTest();
        EXPECT_EQ(view.Text(IDC_ENGINECODE), "E1QT0001");
    });
}

TEST(TestCommand, EnterRunsTheDefaultButtonAndEscapeEndsTheDialog) {
    TestPorts ports;
    ports.AddSim("ttyS0", Profile("tarvex"));
    const INT_PTR result = RunTesterDialog([&](DialogView& view) {
        ASSERT_TRUE(WaitFor([&] { return view.PortCombo()->hasFocus(); }));
        QTest::keyClick(view.Dialog()->windowHandle(), Qt::Key_Return);
        EXPECT_EQ(view.Text(IDC_ENGINECODE), "E1QT0001");
        const auto* dialog = static_cast<CDialog*>(AfxGetMainWnd());
        EXPECT_FALSE(dialog->IsModalLoopDone());
        QTest::keyClick(view.Dialog()->windowHandle(), Qt::Key_Escape);
        EXPECT_TRUE(dialog->IsModalLoopDone());
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST(TestCommand, TheCloseBoxCancelsUnlessAnotherWindowOfTheProgramIsModal) {
    TestPorts ports;
    const INT_PTR result = RunTesterDialog([&](DialogView& view) {
        // Over a message box of its own the dialog is not closed: the box closes first.
        bool stillOpen = false;
        OnNextWindow boxCloser([&](QWidget* box) {
            view.Dialog()->close();
            stillOpen = view.Dialog()->isVisible();
            QTest::keyClick(box->windowHandle(), Qt::Key_Return);
        });
        const auto* dialog = static_cast<CDialog*>(AfxGetMainWnd());
        AfxMessageBox("hold", MB_OK);
        EXPECT_TRUE(boxCloser.Fired());
        EXPECT_TRUE(stillOpen);
        EXPECT_FALSE(dialog->IsModalLoopDone());
        view.Dialog()->close();  // the window manager's close box
        EXPECT_TRUE(dialog->IsModalLoopDone());
    });
    EXPECT_EQ(result, IDCANCEL);
}

}  // namespace
}  // namespace guitest
