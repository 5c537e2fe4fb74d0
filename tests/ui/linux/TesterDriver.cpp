#include "tests/ui/linux/TesterDriver.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include "afx/Backend.h"
#include "afx/qt/Handles.h"
#include "res/resource.h"
#include "ui/TesterDlg.h"

namespace guitest {

QWidget* DialogView::Dialog() const { return afx::qt::WidgetOf(m_dialog); }

QWidget* DialogView::Control(int id) const {
    return afx::qt::WidgetOf(afx::TheBackend().GetDlgItem(m_dialog, id));
}

std::string DialogView::Text(int id) const {
    const HWND control = afx::TheBackend().GetDlgItem(m_dialog, id);
    return control != nullptr ? control->text : std::string();
}

bool DialogView::Visible(int id) const {
    QWidget* control = Control(id);
    return control != nullptr && control->isVisible();
}

bool DialogView::Enabled(int id) const {
    QWidget* control = Control(id);
    return control != nullptr && control->isEnabled();
}

QComboBox* DialogView::PortCombo() const { return qobject_cast<QComboBox*>(Control(IDC_PORT)); }

QStringList DialogView::PortEntries() const {
    QStringList entries;
    if (QComboBox* combo = PortCombo()) {
        for (int i = 0; i < combo->count(); ++i)
            entries << combo->itemText(i);
    }
    return entries;
}

void DialogView::ClickTest() const {
    QWidget* test = Control(IDC_TEST);
    ASSERT_NE(test, nullptr);
    QTest::mouseClick(test, Qt::LeftButton);
}

void DialogView::HoverOver(int id) const { HoverOver(Control(id)); }

void DialogView::HoverOver(QWidget* widget) const {
    ASSERT_NE(widget, nullptr);
    QWindow* window = Dialog()->windowHandle();
    ASSERT_NE(window, nullptr);
    const QPoint middle = widget->mapTo(Dialog(), widget->rect().center());
    // A real mouse arrives in steps: Qt takes the first move into a window for entering it, and
    // starts a tooltip only on a move after that.
    QTest::mouseMove(window, middle - QPoint(1, 0));
    QTest::mouseMove(window, middle);
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) return condition();
        QTest::qWait(10);
    }
    return true;
}

INT_PTR RunTesterDialog(const std::function<void(DialogView&)>& script) {
    CTesterDlg dlg;
    CWinApp* app = AfxGetApp();
    app->m_pMainWnd = &dlg;

    // The script starts once the dialog shows as the active modal window (a message box of the
    // initialisation comes and goes before that).
    bool started = false;
    QTimer starter;
    starter.setInterval(10);
    QObject::connect(&starter, &QTimer::timeout, [&] {
        QWidget* widget = afx::qt::WidgetOf(dlg.m_hWnd);
        if (started || widget == nullptr || !widget->isVisible() ||
            QApplication::activeModalWidget() != widget)
            return;
        started = true;
        starter.stop();
        DialogView view(dlg.m_hWnd);
        script(view);
        if (afx::TheBackend().IsWindow(dlg.m_hWnd) && !dlg.IsModalLoopDone())
            dlg.EndDialog(IDCANCEL);
    });
    starter.start();
    const INT_PTR result = dlg.DoModal();
    EXPECT_TRUE(started) << "the dialog never showed";
    app->m_pMainWnd = nullptr;
    return result;
}

struct OnNextWindow::Watch {
    QTimer timer;
    QWidgetList before;
    std::function<void(QWidget*)> action;
    bool fired = false;
};

namespace {

QWidget* OpenWindow() {
    if (QWidget* popup = QApplication::activePopupWidget()) return popup;
    return QApplication::activeModalWidget();
}

}  // namespace

OnNextWindow::OnNextWindow(std::function<void(QWidget*)> action, int timeoutMs)
    : m_watch(std::make_shared<Watch>()) {
    m_watch->action = std::move(action);
    m_watch->before = QApplication::topLevelWidgets();
    std::weak_ptr<Watch> weak = m_watch;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    m_watch->timer.setInterval(10);
    QObject::connect(&m_watch->timer, &QTimer::timeout, [weak, clock, timeoutMs] {
        const std::shared_ptr<Watch> watch = weak.lock();
        if (!watch) return;
        QWidget* window = OpenWindow();
        const bool isNew = window != nullptr && window->isVisible() &&
                           (!watch->before.contains(window) || window->inherits("QMenu"));
        if (!isNew) {
            if (clock->elapsed() > timeoutMs) watch->timer.stop();
            return;
        }
        watch->timer.stop();
        watch->fired = true;
        watch->action(window);
    });
    m_watch->timer.start();
}

OnNextWindow::~OnNextWindow() { m_watch->timer.stop(); }

bool OnNextWindow::Fired() const { return m_watch->fired; }

}  // namespace guitest
