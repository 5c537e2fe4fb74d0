// The driver: the machine's own inventory where there is one; otherwise the version query and
// the choice of one Windows method; the completion of names and descriptions, and each call
// replacing the last.
#include "ports/DiscoverPorts.h"
#include "ports/FailureText.h"
#include "sys/posix/SysfsPorts.h"
#include "tests/sys/FakePlatform.h"
#include "tests/sys/SysfsTree.h"

#include <gtest/gtest.h>

namespace {

class Driver : public ::testing::Test {
protected:
    Driver() {
        // One port per method, so the result tells which method ran.
        platform.setupApi.interfaces = {
            {"\\\\?\\acpi#pnp0501", "Interface port (COM1)", "Interface port", "USB"}};
        platform.registry.At("Enum\\BIOS\\*PNP0501\\0D").Text("PORTNAME", "COM9");
    }

    std::string Run() {
        try {
            DiscoverPorts(ports, platform);
        } catch (const DiscoveryFailure& failure) {
            return failure.what();
        }
        return {};
    }

    fake::Platform platform;
    PortList ports;
};

TEST_F(Driver, FailedVersionQueryLeavesTheListEmpty) {
    ports.Append(PortEntry{"stale", "COM1", "stale", false, "stale"});
    platform.os.versionError = 0x7a;
    EXPECT_EQ(Run(), "Could not get OS version. (err=7a)");
    EXPECT_EQ(ports.GetCount(), 0u);
}

struct MethodChoice {
    std::uint32_t major;
    std::uint32_t platformId;
    const char* firstPortPath;
    std::size_t count;
};

class DriverChoice : public Driver, public ::testing::WithParamInterface<MethodChoice> {};

TEST_P(DriverChoice, RunsExactlyOneMethodByVersion) {
    platform.UseVersion(GetParam().major, GetParam().platformId);
    EXPECT_EQ(Run(), "");
    ASSERT_EQ(ports.GetCount(), GetParam().count);
    EXPECT_EQ(ports.GetAt(0).devicePath, GetParam().firstPortPath);
}

INSTANTIATE_TEST_SUITE_P(
    ByMajorAndPlatform, DriverChoice,
    ::testing::Values(MethodChoice{5, 2, "\\\\?\\acpi#pnp0501", 1},  // Windows 2000 and later
                      MethodChoice{10, 2, "\\\\?\\acpi#pnp0501", 1},
                      MethodChoice{5, 1, "\\\\?\\acpi#pnp0501", 1},  // major decides first
                      MethodChoice{4, 2, "\\\\.\\COM1", 16},         // NT 4: fixed range
                      MethodChoice{3, 2, "\\\\.\\COM1", 16},
                      MethodChoice{4, 1, "\\\\.\\COM9", 1},  // 95, 98, Me: registry
                      MethodChoice{4, 0, "\\\\.\\COM9", 1}, MethodChoice{4, 3, "\\\\.\\COM9", 1}));

TEST_F(Driver, NoFallbackWhenTheChosenMethodFindsNothing) {
    platform.setupApi.interfaces.clear();
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(ports.GetCount(), 0u);
    EXPECT_EQ(platform.registry.opens, 0);
}

TEST_F(Driver, FixedRangeIsCom1ToCom16Completed) {
    platform.UseVersion(4, sys::PLATFORM_WIN32_NT);
    EXPECT_EQ(Run(), "");
    ASSERT_EQ(ports.GetCount(), 16u);
    for (std::size_t i = 0; i < 16; ++i) {
        const std::string name = "COM" + std::to_string(i + 1);
        const PortEntry& entry = ports.GetAt(i);
        EXPECT_EQ(entry.portName, name);
        EXPECT_EQ(entry.devicePath, "\\\\.\\" + name);
        EXPECT_EQ(entry.friendlyName, name);
        EXPECT_EQ(entry.description, name);
        EXPECT_FALSE(entry.isUsb);
    }
}

// Completion of a registry entry by its FRIENDLYNAME: the trimming rule on empty descriptions.
struct Trim {
    const char* friendlyName;
    const char* description;
};

class DriverTrimming : public Driver, public ::testing::WithParamInterface<Trim> {};

TEST_P(DriverTrimming, EmptyDescriptionBecomesTheTrimmedFriendlyName) {
    platform.UseVersion(4, sys::PLATFORM_WIN32_WINDOWS);
    platform.registry.At("Enum\\BIOS\\*PNP0501\\0D").Text("FRIENDLYNAME", GetParam().friendlyName);
    EXPECT_EQ(Run(), "");
    ASSERT_EQ(ports.GetCount(), 1u);
    EXPECT_EQ(ports.GetAt(0).friendlyName, GetParam().friendlyName);
    EXPECT_EQ(ports.GetAt(0).description, GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DriverTrimming,
    ::testing::Values(Trim{"Communications Port (COM1)", "Communications Port"}, Trim{"A (B)", "A"},
                      Trim{"COM3", "COM3"}, Trim{"(COM3)", "(COM3)"}, Trim{" (COM3)", " (COM3)"},
                      Trim{"Port (A) (COM3)", "Port (A) (COM3)"}, Trim{"Port (COM3", "Port (COM3"},
                      Trim{"Port (COM3) x", "Port (COM3) x"},
                      Trim{"Port) (COM3)", "Port) (COM3)"}));

TEST_F(Driver, MissingFriendlyNameBecomesThePortName) {
    platform.UseVersion(4, sys::PLATFORM_WIN32_WINDOWS);
    platform.registry.At("Enum\\BIOS\\*PNP0501\\0E").Text("PORTNAME", "");
    EXPECT_EQ(Run(), "");
    ASSERT_EQ(ports.GetCount(), 2u);
    EXPECT_EQ(ports.GetAt(0).friendlyName, "COM9");
    EXPECT_EQ(ports.GetAt(0).description, "COM9");
    // An empty port name leaves all three empty.
    EXPECT_EQ(ports.GetAt(1).friendlyName, "");
    EXPECT_EQ(ports.GetAt(1).description, "");
}

TEST_F(Driver, DescriptionsSetByTheMethodStayAndEmptyPropertiesAreCompleted) {
    platform.setupApi.interfaces = {
        {"\\\\?\\a", "Port (A) (COM3)", "Desc (kept) (COM3)", std::nullopt},
        {"\\\\?\\b", "Named (COM4)", "", std::nullopt},
        {"\\\\?\\c", "", "Only a description", std::nullopt},
        {"\\\\?\\d", "", "", std::nullopt},
    };
    EXPECT_EQ(Run(), "");
    ASSERT_EQ(ports.GetCount(), 4u);
    EXPECT_EQ(ports.GetAt(0).description, "Desc (kept) (COM3)");
    EXPECT_EQ(ports.GetAt(1).description, "Named");
    EXPECT_EQ(ports.GetAt(2).friendlyName, "");  // the port name is empty on this method
    EXPECT_EQ(ports.GetAt(2).description, "Only a description");
    EXPECT_EQ(ports.GetAt(3).description, "");
}

TEST_F(Driver, FailureLeavesEarlierEntriesUncompleted) {
    platform.UseVersion(4, sys::PLATFORM_WIN32_WINDOWS);
    platform.registry.At("Enum\\USBPORTS").refusesOpen = true;
    EXPECT_EQ(Run(), "Could not read from HKLM\\Enum\\USBPORTS");
    ASSERT_EQ(ports.GetCount(), 1u);
    EXPECT_EQ(ports.GetAt(0).portName, "COM9");
    EXPECT_EQ(ports.GetAt(0).friendlyName, "");
    EXPECT_EQ(ports.GetAt(0).description, "");
}

TEST_F(Driver, EachCallReplacesTheLastEvenWithNothing) {
    platform.UseVersion(4, sys::PLATFORM_WIN32_NT);
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(ports.GetCount(), 16u);

    platform.UseVersion(5, sys::PLATFORM_WIN32_NT);
    EXPECT_EQ(Run(), "");
    ASSERT_EQ(ports.GetCount(), 1u);
    EXPECT_EQ(ports.GetAt(0).friendlyName, "Interface port (COM1)");

    platform.setupApi.interfaces.clear();
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(ports.GetCount(), 0u);
}

TEST_F(Driver, LibraryThatDoesNotLoadFailsWithTheBoxTextAndAnEmptyList) {
    platform.setupApi.loads = false;
    EXPECT_EQ(Run(), "Can't Load SETUPAPI.DLL");
    EXPECT_EQ(ports.GetCount(), 0u);
}

// A machine with its own inventory: its list as it stands, never the version query, and the
// same completion as after any method.
class ListedInventory : public sys::PortInventory {
public:
    std::vector<sys::InventoryPort> ListPorts() const override {
        ++listings;
        return ports;
    }

    std::vector<sys::InventoryPort> ports;
    mutable int listings = 0;
};

class InventoryAndWindows : public fake::Platform {
public:
    const sys::PortInventory* Inventory() override { return &inventory; }
    ListedInventory inventory;
};

TEST(DriverInventory, TakesTheInventoryInOrderWithoutAskingTheVersion) {
    InventoryAndWindows platform;
    platform.os.versionError = 5;  // the Windows path would fail at once
    platform.setupApi.interfaces = {{"\\\\?\\a", "Interface (COM1)", "Interface", "USB"}};
    platform.inventory.ports = {
        {"/dev/ttyUSB0", "ttyUSB0", "FT232R USB UART (ttyUSB0)", true, "FT232R USB UART"},
        {"/dev/ttyS0", "ttyS0", "Serial port (ttyS0)", false, ""},
        {"/dev/ttyS1", "ttyS1", "", false, ""},
    };
    PortList ports;
    ports.Append(PortEntry{"stale", "COM1", "stale", false, "stale"});
    DiscoverPorts(ports, platform);

    EXPECT_EQ(platform.inventory.listings, 1);
    EXPECT_TRUE(platform.setupApi.events.empty());
    EXPECT_EQ(platform.registry.opens, 0);
    const PortEntry expected[] = {
        {"/dev/ttyUSB0", "ttyUSB0", "FT232R USB UART (ttyUSB0)", true, "FT232R USB UART"},
        {"/dev/ttyS0", "ttyS0", "Serial port (ttyS0)", false, "Serial port"},
        {"/dev/ttyS1", "ttyS1", "ttyS1", false, "ttyS1"},
    };
    ASSERT_EQ(ports.GetCount(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const PortEntry& entry = ports.GetAt(i);
        EXPECT_EQ(entry.devicePath, expected[i].devicePath);
        EXPECT_EQ(entry.portName, expected[i].portName);
        EXPECT_EQ(entry.friendlyName, expected[i].friendlyName);
        EXPECT_EQ(entry.isUsb, expected[i].isUsb);
        EXPECT_EQ(entry.description, expected[i].description);
    }

    platform.inventory.ports.clear();
    DiscoverPorts(ports, platform);
    EXPECT_EQ(ports.GetCount(), 0u);
}

TEST(DriverInventory, APlatformWithNeitherInventoryNorWindowsIsAProgrammingError) {
    sys::DiscoveryPlatform nothing;
    PortList ports;
    EXPECT_THROW(DiscoverPorts(ports, nothing), std::logic_error);
}

// %lx of a 32-bit code, whatever the width of long.
TEST(FailureText, CodesAreLowerCaseHexWithoutPrefixOrPadding) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0, "0"}, {5, "5"}, {122, "7a"}, {0x80000000u, "80000000"}, {0xFFFFFFFFu, "ffffffff"}};
    for (const auto& [code, hex] : cases)
        EXPECT_EQ(FormatErrorText("x (err=%lx)", code), std::string("x (err=") + hex + ")");
}

// Through the inventory and the driver, as the program runs.
TEST(DriverInventory, ListsASysfsTreeThroughTheInventory) {
    fake::SysfsTree tree;
    tree.AddVirtual("tty1");
    tree.AddUart("ttyS0", 4);
    tree.AddUart("ttyS1", 0);
    // cut to keep the friendly name under 256 bytes
    tree.AddUsbAdapter("ttyUSB0", "1-1", std::string(250, 'L'));

    const sys::posix::SysfsPorts inventory(tree.SysRoot(), tree.DevRoot());
    sys::InventoryPlatform platform(inventory);
    PortList ports;
    ports.Append(PortEntry{"stale", "stale", "stale", true, "stale"});
    DiscoverPorts(ports, platform);

    ASSERT_EQ(ports.GetCount(), 2u);
    const PortEntry& uart = ports.GetAt(0);
    EXPECT_EQ(uart.devicePath, tree.DevRoot() + "/ttyS0");
    EXPECT_EQ(uart.portName, "ttyS0");
    EXPECT_EQ(uart.friendlyName, "Serial port (ttyS0)");
    EXPECT_EQ(uart.description, "Serial port");
    EXPECT_FALSE(uart.isUsb);
    const PortEntry& usb = ports.GetAt(1);
    EXPECT_EQ(usb.devicePath, tree.DevRoot() + "/ttyUSB0");
    EXPECT_EQ(usb.portName, "ttyUSB0");
    EXPECT_EQ(usb.friendlyName, std::string(200, 'L') + " (ttyUSB0)");
    EXPECT_EQ(usb.description, std::string(200, 'L'));
    EXPECT_TRUE(usb.isUsb);
}

}  // namespace
