// A Japanese user (LC_ALL=ja_JP.UTF-8, set by the test's CTest entry): Japanese templates and
// strings throughout, never mixed with English.
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QToolTip>
#include <QWindow>

#include <gtest/gtest.h>

#include <unistd.h>

#include "afx/qt/QtBackend.h"
#include "res/resource.h"
#include "sys/SerialPort.h"
#include "sys/posix/UucpLock.h"
#include "tests/ui/linux/TestSystem.h"
#include "tests/ui/linux/TesterDriver.h"

namespace guitest {
namespace {

class Japanese : public testing::Test {
protected:
    void SetUp() override {
        if (afx::qt::Resources().Language() != 1041) GTEST_SKIP() << "run with LC_ALL=ja_JP.UTF-8";
    }
};

TEST_F(Japanese, DialogTextsAndResultsAreJapanese) {
    TestPorts ports;
    ports.AddSim("ttyS0", {"--profile", "tarvex"});
    RunTesterDialog([&](DialogView& view) {
        QStringList labels;
        for (QLabel* label : view.Dialog()->findChildren<QLabel*>())
            labels << label->text();
        EXPECT_TRUE(labels.contains("通信ポート"));
        EXPECT_TRUE(labels.contains("データープロテクト"));
        EXPECT_FALSE(labels.contains("COM Port"));
        EXPECT_EQ(view.Text(IDC_TEST), "テスト");
        view.ClickTest();
        EXPECT_EQ(view.Text(IDC_PROTECTION), "なし");
        EXPECT_EQ(view.Text(IDC_LEGACY_ENGINECODE), "応答なし");
        EXPECT_EQ(view.Text(IDC_LEGACY_VERSION), "応答なし");
    });
}

TEST_F(Japanese, AboutTooltipAndMessageBoxAreJapanese) {
    TestPorts ports;
    RunTesterDialog([&](DialogView& view) {
        QString aboutTitle;
        OnNextWindow closer([&](QWidget* about) {
            aboutTitle = about->windowTitle();
            QTest::keyClick(about->windowHandle(), Qt::Key_Escape);
        });
        QTest::keyClick(view.Dialog()->windowHandle(), Qt::Key_F1);
        EXPECT_EQ(aboutTitle, "バージョン情報 Marlox");

        view.HoverOver(IDC_LEGACY_ENGINECODE);
        ASSERT_TRUE(WaitFor([] { return QToolTip::isVisible(); }));
        EXPECT_TRUE(QToolTip::text().startsWith(
            "旧型Drevik特有の照会コマンドで、\n新型Drevikは応答しません"))
            << QToolTip::text().toStdString();
    });
}

TEST_F(Japanese, PortThatDoesNotOpenIsReportedInJapanese) {
    TestPorts ports;
    ports.AddSim("ttyS0", {"--profile", "tarvex"});
    const auto holder = sys::SystemSerialPorts().OpenExclusive(ports.DevRoot() + "/ttyS0").port;
    ASSERT_NE(holder, nullptr);
    RunTesterDialog([&](DialogView& view) {
        QString text;
        OnNextWindow closer([&](QWidget* window) {
            if (auto* box = qobject_cast<QMessageBox*>(window)) {
                text = box->text();
                box->accept();
            }
        });
        view.ClickTest();
        const QStringList lines = text.split('\n');
        ASSERT_EQ(lines.size(), 2) << text.toStdString();
        EXPECT_EQ(lines[0], "ポートが開けません");
        EXPECT_EQ(lines[1], QString("PID %1 がロックしています (/var/lock/LCK..%2)")
                                .arg(::getpid())
                                .arg(sys::posix::UucpLockName(ports.DevRoot() + "/ttyS0").c_str()));
    });
}

}  // namespace
}  // namespace guitest
