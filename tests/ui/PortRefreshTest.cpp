// The port list's refresh while the dialog is open: one discovery per burst of device events,
// the selection kept on its port, nothing during a test, the old list on failure.
#include <gtest/gtest.h>

#include "ui/PortRefresh.h"

namespace {

struct Port {
    std::string path;
    std::string name;
};

class RecordingView : public PortListView {
public:
    int Selection() override { return selection; }
    void Refill(const std::vector<std::string>& newNames, int newSelection) override {
        names = newNames;
        selection = newSelection;
        ++refills;
    }

    std::vector<std::string> names;
    int selection = -1;
    int refills = 0;
};

class RecordingTimer : public SettleTimer {
public:
    void Start(unsigned ms) override {
        running = true;
        lastMs = ms;
        ++starts;
    }
    void Stop() override { running = false; }

    bool running = false;
    unsigned lastMs = 0;
    int starts = 0;
};

// A machine whose ports the test sets; discovery can be made to fail half-way.
class Machine {
public:
    void Discover(PortList& list) {
        ++discoveries;
        list.Clear();
        for (const Port& port : ports) {
            list.Append({port.path, "", port.name, false, ""});
            if (failAfterFirst) throw DiscoveryFailure("Could not read from HKLM\\Enum");
        }
    }

    std::vector<Port> ports;
    bool failAfterFirst = false;
    int discoveries = 0;
};

class PortRefreshTest : public ::testing::Test {
protected:
    // The dialog as it opened: the machine's ports listed, then entry `selected` chosen.
    void Open(const std::vector<Port>& ports, int selected) {
        machine.ports = ports;
        refresh.Fill([](const std::string& text) { ADD_FAILURE() << text; });
        view.selection = selected;
        view.refills = 0;
        machine.discoveries = 0;
    }
    std::vector<std::string> ListedPaths() const {
        std::vector<std::string> paths;
        for (std::size_t i = 0; i < list.GetCount(); ++i)
            paths.push_back(list.GetAt(i).devicePath);
        return paths;
    }

    Machine machine;
    PortList list;
    RecordingView view;
    RecordingTimer timer;
    PortRefresh refresh{list, view, timer, [this](PortList& ports) { machine.Discover(ports); }};
};

const Port COM1{"\\\\.\\COM1", "Communications Port (COM1)"};
const Port COM3{"\\\\.\\COM3", "USB Serial Port (COM3)"};
const Port COM4{"\\\\.\\COM4", "USB Serial Port (COM4)"};
const Port DEMO{"/dev/pts/7", "Simulated controller (demo)"};
const Port USB0{"/dev/ttyUSB0", "FT232R USB UART (ttyUSB0)"};

TEST_F(PortRefreshTest, ABurstOfEventsGivesOneDiscoveryOnceItHasSettled) {
    Open({COM1}, 0);
    machine.ports = {COM1, COM3};
    for (int i = 0; i < 6; ++i)
        refresh.DevicesChanged();
    // Every event restarts the wait; nothing is listed while the burst lasts.
    EXPECT_EQ(timer.starts, 6);
    EXPECT_EQ(timer.lastMs, PortTracker::SETTLE_MS);
    EXPECT_EQ(machine.discoveries, 0);

    refresh.TimerElapsed();
    EXPECT_EQ(machine.discoveries, 1);
    EXPECT_FALSE(timer.running) << "the window timer repeats unless stopped";
    EXPECT_EQ(view.names, (std::vector<std::string>{COM1.name, COM3.name}));
    EXPECT_EQ(ListedPaths(), (std::vector<std::string>{COM1.path, COM3.path}));
}

TEST_F(PortRefreshTest, SelectionStaysOnItsPortElseGoesToTheFirst) {
    struct Case {
        const char* what;
        std::vector<Port> before;
        int selected;
        std::vector<Port> after;
        int expected;
    };
    const Case cases[] = {
        {"kept in place", {COM1, COM3}, 1, {COM1, COM3, COM4}, 1},
        {"moved down by a port before it", {COM1, COM4}, 1, {COM1, COM3, COM4}, 2},
        {"moved up when one before it goes", {COM1, COM3, COM4}, 2, {COM3, COM4}, 1},
        {"gone: the first entry", {COM1, COM3}, 1, {COM1, COM4}, 0},
        {"demo stays on top, adapter kept", {DEMO, USB0}, 1, {DEMO, USB0, COM1}, 1},
        {"first port into an empty list", {}, -1, {USB0}, 0},
        {"last port gone", {USB0}, 0, {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        view = RecordingView();
        Open(c.before, c.selected);
        machine.ports = c.after;

        EXPECT_TRUE(refresh.RefreshNow());
        std::vector<std::string> names;
        std::vector<std::string> paths;
        for (const Port& port : c.after) {
            names.push_back(port.name);
            paths.push_back(port.path);
        }
        EXPECT_EQ(view.refills, 1);
        EXPECT_EQ(view.names, names);
        EXPECT_EQ(ListedPaths(), paths) << "list and drop-down are refilled together";
        EXPECT_EQ(view.selection, c.expected);
    }
}

TEST_F(PortRefreshTest, TheSameListChangesNothing) {
    Open({COM1, COM3}, 1);
    view.selection = 1;
    EXPECT_FALSE(refresh.RefreshNow());
    EXPECT_EQ(view.refills, 0);
    EXPECT_EQ(view.selection, 1);

    // A changed description alone is a different list: the entry is what the test opens.
    machine.ports = {COM1, {COM3.path, "USB Serial Port (COM3) renamed"}};
    EXPECT_TRUE(refresh.RefreshNow());
    EXPECT_EQ(view.refills, 1);
    EXPECT_EQ(view.selection, 1);
}

TEST_F(PortRefreshTest, NothingIsListedWhileATestRunsAndOnceAfterIt) {
    Open({COM1}, 0);
    machine.ports = {COM1, COM3};
    refresh.TestStarted();
    refresh.DevicesChanged();
    refresh.TimerElapsed();
    refresh.ListOpening();
    EXPECT_EQ(machine.discoveries, 0);
    EXPECT_EQ(view.refills, 0);

    refresh.TestEnded();
    EXPECT_TRUE(timer.running) << "the refresh asked for during the test follows it";
    EXPECT_EQ(machine.discoveries, 0);
    refresh.TimerElapsed();
    EXPECT_EQ(machine.discoveries, 1);
    EXPECT_EQ(view.names, (std::vector<std::string>{COM1.name, COM3.name}));

    // A test with no event during it asks for nothing afterwards.
    const int starts = timer.starts;
    refresh.TestStarted();
    refresh.TestEnded();
    EXPECT_EQ(timer.starts, starts);
}

TEST_F(PortRefreshTest, AFailureKeepsTheOldListAndRaisesNothing) {
    Open({COM1, COM3}, 1);
    machine.ports = {COM4, COM1};
    machine.failAfterFirst = true;
    refresh.DevicesChanged();
    EXPECT_NO_THROW(refresh.TimerElapsed());
    EXPECT_EQ(machine.discoveries, 1);
    EXPECT_EQ(view.refills, 0);
    EXPECT_EQ(ListedPaths(), (std::vector<std::string>{COM1.path, COM3.path}));
    EXPECT_EQ(view.selection, 1);
}

TEST_F(PortRefreshTest, OpeningTheListListsAtOnceAndOvertakesAWait) {
    Open({COM1}, 0);
    machine.ports = {COM1, COM3};
    refresh.DevicesChanged();
    refresh.ListOpening();
    EXPECT_EQ(machine.discoveries, 1);
    EXPECT_FALSE(timer.running);
    EXPECT_EQ(view.names, (std::vector<std::string>{COM1.name, COM3.name}));
}

}  // namespace
