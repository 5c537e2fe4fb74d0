// The tester dialog without a test run: About, tooltips, the port list, keyboard and screen
// readers.
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <QWindow>

#include <gtest/gtest.h>

#include "ports/DiscoverPorts.h"
#include "res/resource.h"
#include "tests/ui/linux/TestSystem.h"
#include "tests/ui/linux/TesterDriver.h"

namespace guitest {
namespace {

// What a screen reader reads for the widget.
QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

// Opens the context menu with open(), picks its About entry and reports the About box's
// title (empty when no About box came), closing it with Escape.
QString AboutTitleAfter(const DialogView& view, const std::function<void()>& open) {
    QString menuEntry;
    QString aboutTitle;
    std::unique_ptr<OnNextWindow> aboutCloser;
    OnNextWindow menuPicker([&](QWidget* window) {
        auto* menu = qobject_cast<QMenu*>(window);
        ASSERT_NE(menu, nullptr);
        QAction* about = nullptr;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()) about = action;
        }
        ASSERT_NE(about, nullptr);
        menuEntry = about->text();
        // Armed now, so the menu itself does not count as the next window.
        aboutCloser = std::make_unique<OnNextWindow>([&](QWidget* box) {
            aboutTitle = box->windowTitle();
            QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
        });
        menu->setActiveAction(about);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    open();
    EXPECT_TRUE(WaitFor([&] { return !aboutTitle.isEmpty(); })) << "no About box";
    EXPECT_EQ(menuEntry, "About Marlox(&A)...");
    EXPECT_TRUE(view.Dialog()->isVisible());
    return aboutTitle;
}

TEST(TesterDialog, AboutFromTheContextMenuByMouseMenuKeyAndShiftF10) {
    TestPorts ports;
    RunTesterDialog([&](DialogView& view) {
        QWindow* window = view.Dialog()->windowHandle();
        EXPECT_EQ(AboutTitleAfter(view,
                                  [&] {
                                      QTest::mouseClick(window, Qt::RightButton, Qt::NoModifier,
                                                        QPoint(20, 20));
                                  }),
                  "About Marlox");
        EXPECT_EQ(AboutTitleAfter(view, [&] { QTest::keyClick(window, Qt::Key_Menu); }),
                  "About Marlox");
        EXPECT_EQ(
            AboutTitleAfter(view, [&] { QTest::keyClick(window, Qt::Key_F10, Qt::ShiftModifier); }),
            "About Marlox");
    });
}

TEST(TesterDialog, F1OpensAboutWhoseOkClosesIt) {
    TestPorts ports;
    RunTesterDialog([&](DialogView& view) {
        QString title;
        OnNextWindow closer([&](QWidget* about) {
            title = about->windowTitle();
            QTest::keyClick(about->windowHandle(), Qt::Key_Return);  // its default button, OK
        });
        QTest::keyClick(view.Dialog()->windowHandle(), Qt::Key_F1);
        EXPECT_EQ(title, "About Marlox");
        EXPECT_TRUE(view.Dialog()->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), view.Dialog());
    });
}

TEST(TesterDialog, TooltipsShowTheirTwoLinesOverTheFieldsOnly) {
    TestPorts ports;
    RunTesterDialog([&](DialogView& view) {
        const struct {
            int id;
            const char* first;
        } tips[] = {
            {IDC_LEGACY_ENGINECODE, "New Drevik will not responce."},
            {IDC_LEGACY_VERSION, "New Drevik will not responce."},
            {IDC_ENGINECODE, "this is command set for the Tarvex."},
            {IDC_VERSION, "this is command set for the Tarvex."},
            {IDC_PROTECTION, "Data Protection."},
        };
        const QFontMetrics metrics(QToolTip::font());
        for (const auto& tip : tips) {
            view.HoverOver(tip.id);
            ASSERT_TRUE(WaitFor([] { return QToolTip::isVisible(); })) << "no tip for " << tip.id;
            const QStringList lines = QToolTip::text().split('\n');
            ASSERT_GE(lines.size(), 2);
            EXPECT_EQ(lines[0], tip.first);
            for (const QString& line : lines)
                EXPECT_LE(metrics.horizontalAdvance(line), 320) << line.toStdString();
            view.HoverOver(view.Control(IDC_PORT));  // off the field: the tip goes
            EXPECT_TRUE(WaitFor([] { return !QToolTip::isVisible(); }));
        }
        // Exactly the two lines of string 102 (both fit in 320 pixels).
        view.HoverOver(IDC_LEGACY_ENGINECODE);
        ASSERT_TRUE(WaitFor([] { return QToolTip::isVisible(); }));
        EXPECT_EQ(QToolTip::text(),
                  "New Drevik will not responce.\nthis is special commands for Legacy Drevik.");
        // A label takes no mouse input: nothing shows over it.
        QLabel* label = nullptr;
        for (QLabel* candidate : view.Dialog()->findChildren<QLabel*>()) {
            if (candidate->text() == "Data Protection") label = candidate;
        }
        ASSERT_NE(label, nullptr);
        view.HoverOver(label);
        QTest::qWait(900);
        EXPECT_FALSE(QToolTip::isVisible());
    });
}

TEST(TesterDialog, DropDownKeepsThePortListOrderWithTheFirstSelected) {
    TestPorts ports;
    // Natural order puts ttyS2 before ttyS10; a sorted list would not.
    for (const char* name : {"ttyS10", "ttyS2", "ttyS3", "ttyS11", "ttyS4", "ttyS5", "ttyS1"})
        ports.AddSim(name, {"--profile", "silent"});
    PortList expected;
    DiscoverPorts(expected);
    ASSERT_EQ(expected.GetCount(), 7u);
    RunTesterDialog([&](DialogView& view) {
        QStringList names;
        for (std::size_t i = 0; i < expected.GetCount(); ++i)
            names << QString::fromStdString(expected.GetAt(i).friendlyName);
        EXPECT_EQ(view.PortEntries(), names);
        EXPECT_EQ(view.PortEntries().first(), "Serial port (ttyS1)");
        EXPECT_EQ(view.PortCombo()->currentIndex(), 0);
        EXPECT_EQ(view.PortCombo()->maxVisibleItems(), 5);  // more scroll
    });
}

TEST(TesterDialog, OpenedListShowsFiveEntriesAndScrollsToTheRest) {
    TestPorts ports;
    for (const char* name : {"ttyS1", "ttyS2", "ttyS3", "ttyS4", "ttyS5", "ttyS6", "ttyS7"})
        ports.AddSim(name, {"--profile", "silent"});
    RunTesterDialog([&](DialogView& view) {
        QComboBox* combo = view.PortCombo();
        ASSERT_EQ(combo->count(), 7);
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        ASSERT_TRUE(WaitFor([&] { return list->isVisible(); }));
        // A menu-like list over the field would show all seven.
        const QPoint bottom(list->viewport()->width() / 2, list->viewport()->height() - 1);
        EXPECT_EQ(list->indexAt(bottom).row(), 4);
        EXPECT_GT(list->verticalScrollBar()->maximum(), 0);
        combo->hidePopup();
    });
}

TEST(TesterDialog, OpensWithFocusOnThePortListEmptyFieldsAndTheIconHidden) {
    TestPorts ports;
    ports.AddSim("ttyS0", {"--profile", "silent"});
    RunTesterDialog([&](DialogView& view) {
        EXPECT_TRUE(WaitFor([&] { return view.PortCombo()->hasFocus(); }));
        for (int id : {IDC_ENGINECODE, IDC_VERSION, IDC_PROTECTION, IDC_LEGACY_ENGINECODE,
                       IDC_LEGACY_VERSION})
            EXPECT_EQ(view.Text(id), "");
        EXPECT_FALSE(view.Visible(IDC_PROTECTION_ICON));
        EXPECT_FALSE(view.Visible(IDOK));
        EXPECT_FALSE(view.Visible(IDCANCEL));
        // Tab moves between the two visible tab stops.
        QTest::keyClick(view.Dialog()->windowHandle(), Qt::Key_Tab);
        EXPECT_TRUE(view.Control(IDC_TEST)->hasFocus());
        QTest::keyClick(view.Dialog()->windowHandle(), Qt::Key_Tab);
        EXPECT_TRUE(view.PortCombo()->hasFocus());
        EXPECT_FALSE(view.Dialog()->windowIcon().isNull());
    });
}

TEST(TesterDialog, EveryControlHasItsLabelAsAccessibleName) {
    TestPorts ports;
    RunTesterDialog([&](DialogView& view) {
        EXPECT_EQ(AccessibleName(view.Control(IDC_PORT)), "COM Port");
        EXPECT_EQ(AccessibleName(view.Control(IDC_ENGINECODE)), "Tarvex ENGINECODE Inquery");
        EXPECT_EQ(AccessibleName(view.Control(IDC_VERSION)), "Tarvex Version Inquery");
        EXPECT_EQ(AccessibleName(view.Control(IDC_PROTECTION)), "Data Protection");
        EXPECT_EQ(AccessibleName(view.Control(IDC_LEGACY_ENGINECODE)),
                  "Legacy Drevik ENGINECODE Inquery");
        EXPECT_EQ(AccessibleName(view.Control(IDC_LEGACY_VERSION)),
                  "Legacy Drevik Version Inquery");
        EXPECT_EQ(AccessibleName(view.Control(IDC_PROTECTION_ICON)), "Data Protection");
        EXPECT_EQ(AccessibleName(view.Control(IDC_TEST)), "TEST");
        for (QWidget* child : view.Dialog()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_FALSE(AccessibleName(child).isEmpty()) << child->metaObject()->className();
    });
}

}  // namespace
}  // namespace guitest
