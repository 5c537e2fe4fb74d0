// The tester dialog's initialisation, system commands, painting and test-command refusal, run
// through the framework over the in-memory back end. Port discovery is the machine's own: the
// drop-down is compared with what DiscoverPorts reports here.
#include <gtest/gtest.h>

#include "ports/DiscoverPorts.h"
#include "sys/DiscoveryPlatform.h"
#include "tests/afx/FakeBackend.h"
#include "tests/sys/FakePlatform.h"
#include "ui/TesterApp.h"
#include "ui/TesterDlg.h"

namespace {

const std::vector<int> TESTER_CONTROLS = {IDOK,
                                          IDCANCEL,
                                          IDC_PORT,
                                          IDC_ENGINECODE,
                                          IDC_VERSION,
                                          IDC_TEST,
                                          IDC_PROTECTION,
                                          IDC_PROTECTION_ICON,
                                          IDC_LEGACY_VERSION,
                                          IDC_LEGACY_ENGINECODE};

class TesterDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeSystem& sys = FakeSystem::Get();
        sys.Reset();
        sys.templates[IDD_TESTER_DIALOG] = TESTER_CONTROLS;
        sys.templates[IDD_ABOUTBOX] = {IDOK};
        sys.strings = {{IDS_ABOUTBOX, "About Marlox(&A)..."},
                       {IDS_NO_RESPOND, "No respond"},
                       {IDS_CANNOT_OPEN_PORT, "Can not open COM Port"}};
        app.SetAppName("Marlox");
    }
    void TearDown() override { FakeSystem::Get().Reset(); }

    // Runs the tester dialog modally; script runs while it is up, with its window handle.
    void RunDialog(const std::function<void(CDialog&)>& script) {
        FakeSystem::Get().whileModal = script;
        CTesterDlg dlg;
        app.m_pMainWnd = &dlg;
        dlg.DoModal();
    }
    static HWND Control(CDialog& dlg, int id) { return FakeSystem::Get().Child(dlg.m_hWnd, id); }
    static FakeWindow& Window(CDialog& dlg, int id) {
        return *FakeSystem::Get().Find(Control(dlg, id));
    }
    static LRESULT Send(CWnd& wnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        LRESULT result = 0;
        AfxCallWndProc(&wnd, message, wParam, lParam, &result);
        return result;
    }

    CTesterApp app;
};

TEST_F(TesterDlgTest, PortListIsShownInDiscoveryOrderWithTheFirstSelectedAndRoomForFive) {
    PortList expected;
    try {
        DiscoverPorts(expected);
    } catch (const DiscoveryFailure&) {
    }
    std::vector<std::string> names;
    for (std::size_t i = 0; i < expected.GetCount(); ++i)
        names.push_back(expected.GetAt(i).friendlyName);

    RunDialog([&](CDialog& dlg) {
        FakeWindow& combo = Window(dlg, IDC_PORT);
        EXPECT_EQ(combo.items, names);
        EXPECT_EQ(combo.curSel, names.empty() ? CB_ERR : 0);
        // Template height 20, selection field 14: 20 + 5 * 14, same width, not moved.
        EXPECT_EQ(combo.window, CRect(0, 0, 100, 90));
    });
}

TEST_F(TesterDlgTest, InitialisationSetsMenuIconsAndTheFiveTooltips) {
    RunDialog([&](CDialog& dlg) {
        FakeSystem& sys = FakeSystem::Get();
        EXPECT_EQ(sys.menuItems, (std::vector<std::pair<UINT, std::string>>{
                                     {MF_SEPARATOR, ""}, {MF_STRING, "About Marlox(&A)..."}}));
        const HICON icon = app.LoadIcon(IDR_MAINFRAME);
        FakeWindow* window = sys.Find(dlg.m_hWnd);
        EXPECT_EQ(window->icons, (std::map<bool, HICON>{{true, icon}, {false, icon}}));

        EXPECT_EQ(sys.tools, (std::vector<std::pair<HWND, UINT>>{
                                 {Control(dlg, IDC_LEGACY_ENGINECODE), IDS_TIP_LEGACY},
                                 {Control(dlg, IDC_LEGACY_VERSION), IDS_TIP_LEGACY},
                                 {Control(dlg, IDC_ENGINECODE), IDS_TIP_TARVEX},
                                 {Control(dlg, IDC_VERSION), IDS_TIP_TARVEX},
                                 {Control(dlg, IDC_PROTECTION), IDS_TIP_PROTECTION}}));
        // The tooltip window is the dialog's one child that no template made.
        const FakeWindow* tip = nullptr;
        for (const auto& [hWnd, window] : sys.windows)
            if (window.parent == dlg.m_hWnd && window.id == 0) tip = &window;
        ASSERT_NE(tip, nullptr);
        EXPECT_EQ(tip->maxTipWidth, 320);
        EXPECT_TRUE(tip->tipActive);
    });
}

TEST_F(TesterDlgTest, AnEmptyAboutStringAddsNothingToTheSystemMenu) {
    FakeSystem::Get().strings.erase(IDS_ABOUTBOX);
    RunDialog([](CDialog&) {});
    EXPECT_TRUE(FakeSystem::Get().menuItems.empty());
}

TEST_F(TesterDlgTest, AboutOpensForEverySystemCommandWhoseHighBitsAreTheAboutEntry) {
    RunDialog([&](CDialog& dlg) {
        Send(dlg, WM_SYSCOMMAND, 0x0010);
        Send(dlg, WM_SYSCOMMAND, 0x001F);
        Send(dlg, WM_SYSCOMMAND, SC_CLOSE);
        const auto& runs = FakeSystem::Get().modalRuns;
        ASSERT_EQ(runs.size(), 3u);  // the tester dialog, then two About boxes
        EXPECT_EQ(runs[1], std::make_pair(static_cast<UINT>(IDD_ABOUTBOX), dlg.m_hWnd));
        EXPECT_EQ(runs[2], std::make_pair(static_cast<UINT>(IDD_ABOUTBOX), dlg.m_hWnd));
        // Other system commands get the window system's handling.
        ASSERT_EQ(FakeSystem::Get().defaulted.size(), 1u);
        EXPECT_EQ(FakeSystem::Get().defaulted[0].wParam, static_cast<WPARAM>(SC_CLOSE));
        EXPECT_EQ(Send(dlg, WM_QUERYDRAGICON),
                  reinterpret_cast<LRESULT>(app.LoadIcon(IDR_MAINFRAME)));
    });
}

TEST_F(TesterDlgTest, MinimisedDialogDrawsItsIconCentred) {
    RunDialog([](CDialog& dlg) {
        FakeWindow* window = FakeSystem::Get().Find(dlg.m_hWnd);
        window->client = CRect(0, 0, 36, 36);
        Send(dlg, WM_PAINT);  // not minimised: ordinary painting
        window->iconic = true;
        Send(dlg, WM_PAINT);
        EXPECT_EQ(FakeSystem::Get().drawnIcons, (std::vector<std::pair<int, int>>{{2, 2}}));
        bool erased = false;
        for (const FakeCall& call : FakeSystem::Get().sent)
            erased |= call.message == WM_ICONERASEBKGND;
        EXPECT_TRUE(erased);
    });
    // Truncation toward zero: a client one pixel narrower than the icon still gives 0.
    static_assert(CenteredIconOffset(31, 32) == 0, "(31 - 32 + 1) / 2");
    static_assert(CenteredIconOffset(29, 32) == -1, "(29 - 32 + 1) / 2 truncates -2/2");
    static_assert(CenteredIconOffset(30, 32) == 0, "-1 / 2 truncates to 0, not -1");
}

TEST_F(TesterDlgTest, TestWithoutASelectionIsRefusedWithAMessageAndOpensNothing) {
    RunDialog([](CDialog& dlg) {
        FakeWindow& combo = Window(dlg, IDC_PORT);
        combo.items.clear();
        combo.curSel = CB_ERR;
        FakeSystem::Get().boxes.clear();
        Send(dlg, WM_COMMAND, AfxMakeWParam(IDC_TEST, BN_CLICKED));
        ASSERT_EQ(FakeSystem::Get().boxes.size(), 1u);
        EXPECT_EQ(FakeSystem::Get().boxes[0].text, CInvalidArgException().what());
        EXPECT_EQ(FakeSystem::Get().boxes[0].caption, "Marlox");
        EXPECT_TRUE(Window(dlg, IDC_TEST).enabled);
    });
}

// A machine whose ports the test changes while the dialog is open.
class ChangingInventory : public sys::PortInventory {
public:
    std::vector<sys::InventoryPort> ListPorts() const override { return ports; }
    std::vector<sys::InventoryPort> ports;
};

TEST_F(TesterDlgTest, DeviceEventsAndOpeningTheListRefillIt) {
    ChangingInventory inventory;
    sys::InventoryPlatform platform(inventory);
    sys::SetSystemDiscoveryPlatform(&platform);
    const sys::InventoryPort usb0{"/dev/ttyUSB0", "ttyUSB0", "FT232R (ttyUSB0)", true, "FT232R"};
    const sys::InventoryPort usb1{"/dev/ttyUSB1", "ttyUSB1", "CP2102 (ttyUSB1)", true, "CP2102"};
    inventory.ports = {usb1};
    HWND watched = nullptr;

    RunDialog([&](CDialog& dlg) {
        FakeSystem& sys = FakeSystem::Get();
        FakeWindow& combo = Window(dlg, IDC_PORT);
        EXPECT_EQ(sys.watchedWindows, std::vector<HWND>{dlg.m_hWnd});
        watched = dlg.m_hWnd;
        const std::pair<HWND, UINT_PTR> timer{dlg.m_hWnd, 1};

        // An arrival whose data does not say it is a port starts nothing.
        inventory.ports = {usb0, usb1};
        Send(dlg, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
        EXPECT_TRUE(sys.timers.empty());

        EXPECT_EQ(Send(dlg, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0), TRUE);
        EXPECT_EQ(sys.timers[timer], PortTracker::SETTLE_MS);
        EXPECT_EQ(combo.items, std::vector<std::string>{usb1.friendlyName})
            << "not before it ticks";

        Send(dlg, WM_TIMER, 1, 0);
        EXPECT_EQ(sys.timers.count(timer), 0u);
        EXPECT_EQ(combo.items, (std::vector<std::string>{usb0.friendlyName, usb1.friendlyName}));
        EXPECT_EQ(combo.curSel, 1) << "still on ttyUSB1";

        inventory.ports = {usb0};
        Send(dlg, WM_COMMAND, AfxMakeWParam(IDC_PORT, CBN_DROPDOWN), 0);
        EXPECT_EQ(combo.items, std::vector<std::string>{usb0.friendlyName});
        EXPECT_EQ(combo.curSel, 0);
        EXPECT_TRUE(sys.boxes.empty());
    });
    sys::SetSystemDiscoveryPlatform(nullptr);
    EXPECT_NE(watched, nullptr);
    EXPECT_TRUE(FakeSystem::Get().watchedWindows.empty()) << "the watch ends with the dialog";
}

// Windows discovery through the fake setup API, which finds COM1 and COM3.
struct SetupApiMachine : fake::Platform {
    SetupApiMachine() {
        setupApi.interfaces = {{"\\\\?\\acpi#1", "COM1", "", {}}, {"\\\\?\\usb#3", "COM3", "", {}}};
        sys::SetSystemDiscoveryPlatform(this);
    }
    ~SetupApiMachine() override { sys::SetSystemDiscoveryPlatform(nullptr); }
};
const std::vector<std::string> BOTH_PORTS = {"COM1", "COM3"};

TEST_F(TesterDlgTest, ADeviceEventWhileTheStartUpBoxIsOpenListsEachPortOnce) {
    SetupApiMachine machine;
    machine.setupApi.loads = false;
    FakeSystem& sys = FakeSystem::Get();
    sys.whileBox = [&] {  // the library is back; the box's loop delivers an event and its tick
        machine.setupApi.loads = true;
        Send(*AfxGetMainWnd(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED);
        Send(*AfxGetMainWnd(), WM_TIMER, 1);
    };
    RunDialog([&](CDialog& dlg) {
        ASSERT_EQ(sys.boxes.size(), 1u);
        EXPECT_EQ(sys.boxes[0].text + "|" + sys.boxes[0].caption, "Can't Load SETUPAPI.DLL|Marlox");
        EXPECT_TRUE(Window(dlg, IDC_PORT).items.empty()) << "start-up found nothing";
        EXPECT_EQ(sys.timers.count({dlg.m_hWnd, 1}), 1u) << "the refresh asked for follows";
        Send(dlg, WM_TIMER, 1);
        EXPECT_EQ(Window(dlg, IDC_PORT).items, BOTH_PORTS);
    });
}

TEST_F(TesterDlgTest, ARefreshThatFailsKeepsTheListShowsNothingAndTriesAgain) {
    SetupApiMachine machine;
    fake::SetupApi& api = machine.setupApi;
    api.missingEntryPoint = "SetupDiGetClassDevsA";  // start-up lists nothing and says nothing
    RunDialog([&](CDialog& dlg) {
        const std::vector<std::string>& items = Window(dlg, IDC_PORT).items;
        const auto refresh = [&] { Send(dlg, WM_COMMAND, AfxMakeWParam(IDC_PORT, CBN_DROPDOWN)); };
        EXPECT_TRUE(items.empty());
        api.missingEntryPoint.clear();
        refresh();
        EXPECT_EQ(items, BOTH_PORTS);

        api.interfaces.resize(1);  // what a refresh that completes would list now
        api.loads = false;
        refresh();
        EXPECT_EQ(items, BOTH_PORTS);
        api.loads = true;
        api.missingEntryPoint = "SetupDiDestroyDeviceInfoList";
        refresh();
        EXPECT_EQ(items, BOTH_PORTS);
        api.missingEntryPoint.clear();
        refresh();
        EXPECT_EQ(items, std::vector<std::string>{"COM1"});
        EXPECT_TRUE(FakeSystem::Get().boxes.empty());
    });
}

}  // namespace
