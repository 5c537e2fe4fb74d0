// The device-interface method against a fake setup API: what is listed, what fails with which
// text, and that the set and the library are released once, in order, before a failure leaves.
#include "ports/InterfaceDiscovery.h"
#include "tests/sys/FakePlatform.h"

#include <gtest/gtest.h>

namespace {

using Events = std::vector<std::string>;

fake::Interface Port(const std::string& path, const std::string& friendly,
                     const std::string& description,
                     std::optional<std::string> location = std::nullopt) {
    return {path, friendly, description, std::move(location)};
}

class InterfaceDiscovery : public ::testing::Test {
protected:
    // Runs the method; returns the failure text, empty when there was none.
    std::string Run() {
        try {
            DiscoverInterfacePorts(ports, platform);
        } catch (const DiscoveryFailure& failure) {
            return failure.what();
        }
        return {};
    }

    fake::Platform platform;
    fake::SetupApi& api = platform.setupApi;
    PortList ports;
};

TEST_F(InterfaceDiscovery, ListsInterfacesWithBothNamesInMemberOrder) {
    api.interfaces = {
        Port("\\\\?\\acpi#pnp0501#1", "Communications Port (COM1)", "Communications Port",
             "on board"),
        {"\\\\?\\no-friendly", std::nullopt, "Description only", "USB"},
        {"\\\\?\\no-description", "Friendly only", std::nullopt, "USB"},
        Port("\\\\?\\ftdibus#a", "USB Serial Port (COM5)", "USB Serial Port", "USB hub 2"),
        Port("\\\\?\\lower", "Lower (COM6)", "Lower", "usb port 1"),
        Port("\\\\?\\short", "Short (COM7)", "Short", "US"),
        Port("\\\\?\\none", "No location (COM8)", "No location"),
    };
    EXPECT_EQ(Run(), "");

    struct Expected {
        const char* path;
        const char* friendly;
        const char* description;
        bool isUsb;
    };
    const Expected expected[] = {
        {"\\\\?\\acpi#pnp0501#1", "Communications Port (COM1)", "Communications Port", false},
        {"\\\\?\\ftdibus#a", "USB Serial Port (COM5)", "USB Serial Port", true},
        {"\\\\?\\lower", "Lower (COM6)", "Lower", false},
        {"\\\\?\\short", "Short (COM7)", "Short", false},
        {"\\\\?\\none", "No location (COM8)", "No location", false},
    };
    ASSERT_EQ(ports.GetCount(), std::size(expected));
    for (std::size_t i = 0; i < ports.GetCount(); ++i) {
        SCOPED_TRACE(i);
        const PortEntry& entry = ports.GetAt(i);
        EXPECT_EQ(entry.devicePath, expected[i].path);
        EXPECT_EQ(entry.portName, "");
        EXPECT_EQ(entry.friendlyName, expected[i].friendly);
        EXPECT_EQ(entry.description, expected[i].description);
        EXPECT_EQ(entry.isUsb, expected[i].isUsb);
    }
    EXPECT_TRUE(api.classQueryArgumentsOk);
    EXPECT_EQ(api.classQueryFlags, 0x12u);
    EXPECT_EQ(api.detailSize, 261u);
    EXPECT_EQ(api.EventsWithoutLookups(),
              (Events{"load SETUPAPI", "class query", "destroy", "free"}));
}

TEST_F(InterfaceDiscovery, NoInterfacesIsNoFailure) {
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(ports.GetCount(), 0u);
    EXPECT_EQ(api.EventsWithoutLookups(),
              (Events{"load SETUPAPI", "class query", "destroy", "free"}));
}

TEST_F(InterfaceDiscovery, PathsUpTo256CharactersFitTheDetailBuffer) {
    api.interfaces = {Port(std::string(256, 'p'), "Long (COM9)", "Long")};
    EXPECT_EQ(Run(), "");
    ASSERT_EQ(ports.GetCount(), 1u);
    EXPECT_EQ(ports.GetAt(0).devicePath, std::string(256, 'p'));
}

// Each failure: its text, the entries listed before it, and the releases before the throw.
struct FailureCase {
    const char* name;
    void (*script)(fake::SetupApi&);
    const char* text;
    std::size_t entriesKept;
    Events events;
};

class InterfaceFailure : public InterfaceDiscovery,
                         public ::testing::WithParamInterface<FailureCase> {};

TEST_P(InterfaceFailure, ReleasesInOrderThenThrowsItsText) {
    api.interfaces = {Port("\\\\?\\first", "First (COM1)", "First"),
                      Port("\\\\?\\second", "Second (COM2)", "Second")};
    GetParam().script(api);
    EXPECT_EQ(Run(), GetParam().text);
    EXPECT_EQ(ports.GetCount(), GetParam().entriesKept);
    if (ports.GetCount() > 0) {
        EXPECT_EQ(ports.GetAt(0).friendlyName, "First (COM1)");
    }
    EXPECT_EQ(api.EventsWithoutLookups(), GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, InterfaceFailure,
    ::testing::Values(FailureCase{"ClassQuery",
                                  [](fake::SetupApi& a) { a.classQueryError = 5; },
                                  "pSetupDiGetClassDevs failed. (err=5)",
                                  0,
                                  {"load SETUPAPI", "class query", "free"}},
                      FailureCase{"EnumerationOtherThanNoMoreItems",
                                  [](fake::SetupApi& a) {
                                      a.enumFailure = fake::StepFailure{1, 0x7a};
                                  },
                                  "pSetupDiEnumDeviceInterfaces failed. (err=7a)",
                                  1,
                                  {"load SETUPAPI", "class query", "destroy", "free"}},
                      FailureCase{"EnumerationAtFirstMember",
                                  [](fake::SetupApi& a) {
                                      a.enumFailure = fake::StepFailure{0, 0xe0000203};
                                  },
                                  "pSetupDiEnumDeviceInterfaces failed. (err=e0000203)",
                                  0,
                                  {"load SETUPAPI", "class query", "destroy", "free"}},
                      FailureCase{"Detail",
                                  [](fake::SetupApi& a) {
                                      a.detailFailure = fake::StepFailure{1, 5};
                                  },
                                  "pSetupDiGetDeviceInterfaceDetail failed. (err=5)",
                                  1,
                                  {"load SETUPAPI", "class query", "destroy", "free"}},
                      FailureCase{"PathLongerThan256",
                                  [](fake::SetupApi& a) {
                                      a.interfaces[1].devicePath = std::string(257, 'p');
                                  },
                                  "pSetupDiGetDeviceInterfaceDetail failed. (err=7a)",
                                  1,
                                  {"load SETUPAPI", "class query", "destroy", "free"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The caller shows it: the dialog's start-up in a box, a refresh not at all.
TEST_F(InterfaceDiscovery, LibraryThatDoesNotLoadFailsWithTheBoxTextAndAppendsNothing) {
    api.loads = false;
    api.interfaces = {Port("\\\\?\\first", "First (COM1)", "First")};
    EXPECT_EQ(Run(), "Can't Load SETUPAPI.DLL");
    EXPECT_EQ(ports.GetCount(), 0u);
    EXPECT_EQ(api.events, (Events{"load SETUPAPI"}));
}

class MissingEntryPoint : public InterfaceDiscovery,
                          public ::testing::WithParamInterface<const char*> {};

// Silent: the dialog's start-up shows nothing, and a refresh keeps its list.
TEST_P(MissingEntryPoint, FailsSilentlyWithNothingAppendedAndFreesTheLibraryOnce) {
    api.missingEntryPoint = GetParam();
    api.interfaces = {Port("\\\\?\\first", "First (COM1)", "First")};
    EXPECT_THROW(DiscoverInterfacePorts(ports, platform), SilentDiscoveryFailure);
    EXPECT_EQ(ports.GetCount(), 0u);
    EXPECT_EQ(api.EventsWithoutLookups(), (Events{"load SETUPAPI", "free"}));
    // The look-up stops at the missing one.
    EXPECT_EQ(api.events[api.events.size() - 2], std::string("find ") + GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    EachOfEight, MissingEntryPoint,
    ::testing::Values("SetupDiGetClassDevsW", "SetupDiGetClassDevsA", "SetupDiEnumDeviceInterfaces",
                      "SetupDiGetDeviceInterfaceDetailA", "SetupDiGetDeviceInterfaceDetailW",
                      "SetupDiGetDeviceRegistryPropertyA", "SetupDiGetDeviceRegistryPropertyW",
                      "SetupDiDestroyDeviceInfoList"));

TEST_F(InterfaceDiscovery, LooksUpAllEightInOrderAndCallsNoWideVariant) {
    api.interfaces = {Port("\\\\?\\first", "First (COM1)", "First", "USB")};
    EXPECT_EQ(Run(), "");
    const Events lookups(api.events.begin() + 1, api.events.begin() + 9);
    EXPECT_EQ(
        lookups,
        (Events{"find SetupDiGetClassDevsW", "find SetupDiGetClassDevsA",
                "find SetupDiEnumDeviceInterfaces", "find SetupDiGetDeviceInterfaceDetailA",
                "find SetupDiGetDeviceInterfaceDetailW", "find SetupDiGetDeviceRegistryPropertyA",
                "find SetupDiGetDeviceRegistryPropertyW", "find SetupDiDestroyDeviceInfoList"}));
    EXPECT_EQ(api.Count("wide call"), 0);
}

TEST_F(InterfaceDiscovery, EveryRunLoadsAndReleasesTheLibraryAgain) {
    api.interfaces = {Port("\\\\?\\first", "First (COM1)", "First")};
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(api.Count("load SETUPAPI"), 2);
    EXPECT_EQ(api.Count("free"), 2);
    EXPECT_EQ(api.Count("destroy"), 2);
    EXPECT_EQ(ports.GetCount(), 2u);  // the method appends; clearing is the driver's
}

}  // namespace
