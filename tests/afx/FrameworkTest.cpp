// Message-map dispatch, command routing, error reporting, data exchange and string helpers of the
// portable framework, over the in-memory back end.
#include <gtest/gtest.h>

#include <stdexcept>

#include "afx/afxwin.h"
#include "tests/afx/FakeBackend.h"

namespace {

constexpr int IDC_GO = 1001;
constexpr UINT TEMPLATE_ID = 77;

class CTestApp : public CWinApp {
public:
    int helpCount = 0;
    void OnTestHelp() { ++helpCount; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
ON_COMMAND(ID_HELP, &CTestApp::OnTestHelp)
END_MESSAGE_MAP()

class CBaseDlg : public CDialog {
public:
    CBaseDlg() : CDialog(TEMPLATE_ID) {}
    std::vector<std::string> calls;
    void OnPaint() { calls.push_back("base paint"); }
    void OnGo() { calls.push_back("base go"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CBaseDlg, CDialog)
ON_WM_PAINT()
ON_BN_CLICKED(IDC_GO, &CBaseDlg::OnGo)
END_MESSAGE_MAP()

class CDerivedDlg : public CBaseDlg {
public:
    UINT sysId = 0;
    LPARAM sysParam = 0;
    HICON dragIcon = reinterpret_cast<HICON>(0x1234);
    std::function<void()> onGo;
    void OnGo() {
        calls.push_back("derived go");
        if (onGo) onGo();
    }
    void OnSysCommand(UINT nID, LPARAM lParam) {
        sysId = nID;
        sysParam = lParam;
        if (nID == SC_CLOSE) Default();
    }
    HCURSOR OnQueryDragIcon() { return dragIcon; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDerivedDlg, CBaseDlg)
ON_WM_SYSCOMMAND()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_GO, &CDerivedDlg::OnGo)
END_MESSAGE_MAP()

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeSystem::Get().Reset();
        FakeSystem::Get().templates[TEMPLATE_ID] = {IDOK, IDCANCEL, IDC_GO};
        app.SetAppName("Marlox");
    }
    void TearDown() override {
        dlg.DestroyWindow();
        FakeSystem::Get().Reset();
    }
    // Gives dlg a window with its template's controls, as the back end does on creation.
    void CreateWindowFor(CDialog& dialog) {
        FakeSystem& sys = FakeSystem::Get();
        HWND hDlg = sys.Create(nullptr, 0, 0);
        for (int id : sys.templates[TEMPLATE_ID])
            sys.Create(hDlg, id);
        dialog.Attach(hDlg);
    }
    bool Send(CWnd& wnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
              LRESULT* result = nullptr) {
        LRESULT ignored = 0;
        return AfxCallWndProc(&wnd, message, wParam, lParam, result ? result : &ignored);
    }

    CTestApp app;
    CDerivedDlg dlg;
};

TEST_F(FrameworkTest, DerivedEntriesWinAndBaseEntriesAreStillReached) {
    CreateWindowFor(dlg);
    EXPECT_TRUE(Send(dlg, WM_COMMAND, AfxMakeWParam(IDC_GO, BN_CLICKED)));
    EXPECT_TRUE(Send(dlg, WM_PAINT));
    EXPECT_EQ(dlg.calls, (std::vector<std::string>{"derived go", "base paint"}));
}

TEST_F(FrameworkTest, CommandsMatchOnNotificationCodeAndId) {
    CreateWindowFor(dlg);
    EXPECT_FALSE(Send(dlg, WM_COMMAND, AfxMakeWParam(IDC_GO, 5)));  // another notification
    EXPECT_FALSE(Send(dlg, WM_COMMAND, AfxMakeWParam(IDC_GO + 1, BN_CLICKED)));
    EXPECT_FALSE(Send(dlg, 0x0113 /* WM_TIMER */));  // unmapped message
    EXPECT_TRUE(dlg.calls.empty());
}

TEST_F(FrameworkTest, SystemCommandAndDragIconCarryTheirValues) {
    CreateWindowFor(dlg);
    EXPECT_TRUE(Send(dlg, WM_SYSCOMMAND, 0x001F, 0x00420017));
    EXPECT_EQ(dlg.sysId, 0x001Fu);
    EXPECT_EQ(dlg.sysParam, 0x00420017);
    LRESULT result = 0;
    EXPECT_TRUE(Send(dlg, WM_QUERYDRAGICON, 0, 0, &result));
    EXPECT_EQ(reinterpret_cast<HICON>(result), dlg.dragIcon);
}

TEST_F(FrameworkTest, DefaultHandsTheCurrentMessageToTheWindowSystem) {
    CreateWindowFor(dlg);
    Send(dlg, WM_SYSCOMMAND, SC_CLOSE, 7);
    ASSERT_EQ(FakeSystem::Get().defaulted.size(), 1u);
    const FakeCall& call = FakeSystem::Get().defaulted[0];
    EXPECT_EQ(call.hWnd, dlg.m_hWnd);
    EXPECT_EQ(call.message, static_cast<UINT>(WM_SYSCOMMAND));
    EXPECT_EQ(call.wParam, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_EQ(call.lParam, 7);
}

TEST_F(FrameworkTest, CommandsTheDialogLacksGoToTheApplication) {
    CreateWindowFor(dlg);
    EXPECT_TRUE(Send(dlg, WM_COMMAND, AfxMakeWParam(ID_HELP, 0)));
    EXPECT_EQ(app.helpCount, 1);
    // WM_HELP (F1) becomes the help command of the main window.
    app.m_pMainWnd = &dlg;
    EXPECT_TRUE(Send(dlg, WM_HELP));
    EXPECT_EQ(app.helpCount, 2);
    app.m_pMainWnd = nullptr;
}

TEST_F(FrameworkTest, HandlerErrorsBecomeMessageBoxesCaptionedWithTheAppName) {
    CreateWindowFor(dlg);
    dlg.onGo = [] { AfxThrowInvalidArgException(); };
    EXPECT_TRUE(Send(dlg, WM_COMMAND, AfxMakeWParam(IDC_GO, BN_CLICKED)));
    dlg.onGo = [] { throw std::runtime_error("port gone"); };
    EXPECT_TRUE(Send(dlg, WM_COMMAND, AfxMakeWParam(IDC_GO, BN_CLICKED)));
    dlg.onGo = [] { throw 42; };
    EXPECT_TRUE(Send(dlg, WM_COMMAND, AfxMakeWParam(IDC_GO, BN_CLICKED)));

    const auto& boxes = FakeSystem::Get().boxes;
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, CInvalidArgException().what());
    EXPECT_EQ(boxes[1].text, "port gone");
    EXPECT_FALSE(boxes[2].text.empty());
    for (const auto& box : boxes)
        EXPECT_EQ(box.caption, "Marlox");
}

TEST_F(FrameworkTest, ModalRunEndsWithTheCancelCodeAndIsOwnedByTheMainWindow) {
    CBaseDlg mainDlg;
    CreateWindowFor(mainDlg);
    app.m_pMainWnd = &mainDlg;
    FakeSystem::Get().whileModal = [this](CDialog& running) {
        Send(running, WM_COMMAND, AfxMakeWParam(IDCANCEL, BN_CLICKED));
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(FakeSystem::Get().modalRuns.size(), 1u);
    EXPECT_EQ(FakeSystem::Get().modalRuns[0], std::make_pair(TEMPLATE_ID, mainDlg.m_hWnd));
    // The window is gone and no object keeps its handle.
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    mainDlg.DestroyWindow();
}

TEST_F(FrameworkTest, InitialisationCentresTheDialogUnlessItMoved) {
    class CMovingDlg : public CDialog {
    public:
        CMovingDlg() : CDialog(TEMPLATE_ID) {}
        bool OnInitDialog() override {
            SetWindowPos(nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            return false;
        }
    } moving;
    FakeSystem& sys = FakeSystem::Get();
    HWND still = sys.Create(nullptr, 0, 0);
    HWND moved = sys.Create(nullptr, 0, 0);
    EXPECT_TRUE(dlg.HandleInitDialog(still));
    EXPECT_FALSE(moving.HandleInitDialog(moved));
    EXPECT_EQ(sys.centred, std::vector<HWND>{still});
    moving.DestroyWindow();
}

TEST_F(FrameworkTest, DataExchangeBindsEachControlOnceAndRejectsMissingOnes) {
    CreateWindowFor(dlg);
    CButton go;
    CDataExchange dx(&dlg, false);
    DDX_Control(&dx, IDC_GO, go);
    HWND bound = go.m_hWnd;
    EXPECT_EQ(bound, FakeSystem::Get().Child(dlg.m_hWnd, IDC_GO));
    EXPECT_EQ(CWnd::FromHandlePermanent(bound), &go);
    DDX_Control(&dx, IDC_GO, go);  // a second exchange keeps the binding
    EXPECT_EQ(go.m_hWnd, bound);

    CStatic missing;
    EXPECT_THROW(DDX_Control(&dx, 4242, missing), CInvalidArgException);
    EXPECT_EQ(missing.m_hWnd, nullptr);
}

TEST_F(FrameworkTest, PreTranslationWalksFromTheControlUpToItsDialog) {
    class CCountingDlg : public CBaseDlg {
    public:
        std::vector<HWND> seen;
        bool consume = false;
        bool PreTranslateMessage(MSG*) override {
            seen.push_back(m_hWnd);
            return consume;
        }
    } counting;
    CreateWindowFor(counting);
    HWND control = FakeSystem::Get().Child(counting.m_hWnd, IDC_GO);
    EXPECT_FALSE(AfxWalkPreTranslateTree(control, nullptr));
    counting.consume = true;
    EXPECT_TRUE(AfxWalkPreTranslateTree(control, nullptr));
    EXPECT_EQ(counting.seen, (std::vector<HWND>{counting.m_hWnd, counting.m_hWnd}));
    counting.DestroyWindow();
}

TEST_F(FrameworkTest, OwnedWindowsAreDestroyedWithTheirObjectBorrowedOnesAreNot) {
    CreateWindowFor(dlg);
    HWND tip = nullptr;
    {
        CToolTipCtrl tooltip;
        ASSERT_TRUE(tooltip.Create(&dlg));
        tip = tooltip.m_hWnd;
    }
    EXPECT_FALSE(afx::TheBackend().IsWindow(tip));
    HWND control = FakeSystem::Get().Child(dlg.m_hWnd, IDC_GO);
    {
        CButton borrowed;
        borrowed.Attach(control);
    }
    EXPECT_TRUE(afx::TheBackend().IsWindow(control));
    EXPECT_EQ(CWnd::FromHandlePermanent(control), nullptr);
}

TEST(StringHelpers, FormatString1InsertsItsArgumentWhereverPercentOneStands) {
    FakeSystem::Get().Reset();
    FakeSystem::Get().strings[5] = "%1 on %1, 100%";
    CString text;
    AfxFormatString1(text, 5, "COM3");
    EXPECT_EQ(text.Str(), "COM3 on COM3, 100%");
    AfxFormatString1(text, 5, nullptr);
    EXPECT_EQ(text.Str(), " on , 100%");
    AfxFormatString1(text, 6, "x");  // no such string
    EXPECT_TRUE(text.IsEmpty());
}

TEST(StringHelpers, ApplicationNameIsTheExecutableWithoutExtension) {
    EXPECT_EQ(AfxAppNameFromPath("C:\\Program Files\\Marlox\\Marlox.exe"), "Marlox");
    EXPECT_EQ(AfxAppNameFromPath("/usr/bin/marlox-demo"), "marlox-demo");
    EXPECT_EQ(AfxAppNameFromPath("Z:\\a.b\\Marlox.tool.exe"), "Marlox.tool");
    EXPECT_EQ(AfxAppNameFromPath(".hidden"), ".hidden");
}

}  // namespace
