// The HKLM\Enum walk against a fake registry tree: which device keys are scanned, how
// duplicates merge, bounded names and data, and every key closed on every ending.
#include "ports/RegistryDiscovery.h"
#include "tests/sys/FakeRegistry.h"

#include <gtest/gtest.h>

namespace {

class RegistryDiscovery : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(registry.OpenCount(), 0u) << "a key was left open";
        EXPECT_EQ(registry.badCloses, 0) << "a key was closed twice or never opened";
    }

    std::string Run() {
        try {
            DiscoverRegistryPorts(ports, registry);
        } catch (const DiscoveryFailure& failure) {
            return failure.what();
        }
        return {};
    }

    void AddPort(const std::string& instancePath, const std::string& portName,
                 const std::string& friendlyName) {
        registry.At("Enum\\" + instancePath)
            .Text("PORTNAME", portName)
            .Text("FRIENDLYNAME", friendlyName);
    }

    std::vector<std::string> PortNames() const {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < ports.GetCount(); ++i)
            names.push_back(ports.GetAt(i).portName);
        return names;
    }

    fake::Registry registry;
    PortList ports;
};

using Names = std::vector<std::string>;

// Key names differing only in case cannot be siblings in a registry, so they sit apart here.
TEST_F(RegistryDiscovery, ScansOnlyTheExactSerialDeviceKeysOutsideUsbPorts) {
    AddPort("BIOS\\*PNP0501\\0D", "COM1", "Communications Port (COM1)");
    AddPort("ROOT\\*pnp0501\\0E", "COM2", "lower case: passed over");
    AddPort("BIOS\\*PNP0501X\\0F", "COM3", "suffix: passed over");
    AddPort("ISAPNP\\*PNP0500\\01", "COM4", "Standard port (COM4)");
    AddPort("ISAPNP\\OTHER\\01", "COM5", "other device: passed over");
    AddPort("UsbPorts\\ANYTHING\\0000", "COM7", "first level in other case: passed over");

    EXPECT_EQ(Run(), "");
    EXPECT_EQ(PortNames(), (Names{"COM1", "COM4"}));
    const PortEntry& com1 = ports.GetAt(0);
    EXPECT_EQ(com1.devicePath, "\\\\.\\COM1");
    EXPECT_EQ(com1.friendlyName, "Communications Port (COM1)");
    EXPECT_EQ(com1.description, "");
    EXPECT_FALSE(com1.isUsb);
    EXPECT_FALSE(ports.GetAt(1).isUsb);
}

TEST_F(RegistryDiscovery, ScansEveryDeviceKeyUnderUsbPortsAsUsb) {
    AddPort("USBPORTS\\ANYTHING\\0000", "COM6", "USB adapter (COM6)");
    AddPort("USBPORTS\\*PNP0501\\0000", "COM8", "Standard name under USB (COM8)");
    AddPort("BIOS\\*PNP0501\\0D", "COM1", "Communications Port (COM1)");

    EXPECT_EQ(Run(), "");
    EXPECT_EQ(PortNames(), (Names{"COM6", "COM8", "COM1"}));
    EXPECT_TRUE(ports.GetAt(0).isUsb);
    EXPECT_TRUE(ports.GetAt(1).isUsb);
    EXPECT_FALSE(ports.GetAt(2).isUsb);
}

TEST_F(RegistryDiscovery, SamePortNameMergesAtFirstPositionWithLastData) {
    AddPort("BIOS\\*PNP0501\\00", "COM1", "Old name (COM1)");
    AddPort("BIOS\\*PNP0501\\01", "COM2", "Second (COM2)");
    AddPort("BIOS\\*PNP0501\\02", "COM1", "Same key again (COM1)");
    AddPort("USBPORTS\\DEV\\00", "COM1", "Adapter (COM1)");
    AddPort("USBPORTS\\DEV\\01", "com2", "Different case is a different port");

    EXPECT_EQ(Run(), "");
    EXPECT_EQ(PortNames(), (Names{"COM1", "COM2", "com2"}));
    EXPECT_EQ(ports.GetAt(0).friendlyName, "Adapter (COM1)");
    EXPECT_TRUE(ports.GetAt(0).isUsb);
    EXPECT_EQ(ports.GetAt(1).friendlyName, "Second (COM2)");
}

TEST_F(RegistryDiscovery, MissingValuesPassOverOrLeaveTheNameEmpty) {
    registry.At("Enum\\BIOS\\*PNP0501\\00").Text("FRIENDLYNAME", "No port name");
    registry.At("Enum\\BIOS\\*PNP0501\\01").Text("PORTNAME", "COM2");
    registry.At("Enum\\BIOS\\*PNP0501\\02")
        .Text("PORTNAME", "COM3")
        .Text("FRIENDLYNAME", std::string(200, 'f'));  // does not fit 128 bytes
    registry.At("Enum\\BIOS\\*PNP0500");               // no instances
    registry.At("Enum\\EMPTY");                        // no device keys

    EXPECT_EQ(Run(), "");
    EXPECT_EQ(PortNames(), (Names{"COM2", "COM3"}));
    EXPECT_EQ(ports.GetAt(0).friendlyName, "");
    EXPECT_EQ(ports.GetAt(1).friendlyName, "");
}

TEST_F(RegistryDiscovery, ValueDataEndsAtTheBytesReadNeverPastTheBuffer) {
    registry.At("Enum\\BIOS\\*PNP0501\\00").Value("PORTNAME", "COM7");  // no zero byte
    registry.At("Enum\\BIOS\\*PNP0501\\01")
        .Text("PORTNAME", "COM8")
        .Value("FRIENDLYNAME", std::string(128, 'n'));  // fills the buffer, no zero byte
    registry.At("Enum\\BIOS\\*PNP0501\\02").Value("PORTNAME", std::string("COM9\0junk", 9));
    registry.At("Enum\\BIOS\\*PNP0501\\03").Value("PORTNAME", std::string(129, 'c'));

    EXPECT_EQ(Run(), "");
    EXPECT_EQ(PortNames(), (Names{"COM7", "COM8", "COM9"}));
    EXPECT_EQ(ports.GetAt(0).devicePath, "\\\\.\\COM7");
    EXPECT_EQ(ports.GetAt(1).friendlyName, std::string(128, 'n'));
}

TEST_F(RegistryDiscovery, NamesOf127CharactersFitAndLongerOnesEndTheirLevel) {
    const std::string longest(127, 'k');
    AddPort("USBPORTS\\" + longest + "\\" + longest, "COM1", "Longest names");
    registry.At("Enum\\USBPORTS\\" + std::string(128, 'k'));  // cannot be read: level ends
    AddPort("USBPORTS\\AFTER\\00", "COM2", "Never reached");
    AddPort("BIOS\\*PNP0501\\00", "COM3", "Next first-level key");

    EXPECT_EQ(Run(), "");
    EXPECT_EQ(PortNames(), (Names{"COM1", "COM3"}));
}

// Failure to open at each level: its text, entries found before it kept, keys closed from the
// innermost outwards.
struct OpenFailure {
    const char* name;
    const char* refusingKey;
    const char* text;
    Names closedAfterFailure;
};

class RegistryOpenFailure : public RegistryDiscovery,
                            public ::testing::WithParamInterface<OpenFailure> {};

TEST_P(RegistryOpenFailure, ClosesEveryOpenKeyThenThrows) {
    AddPort("BIOS\\*PNP0501\\00", "COM1", "Before the failure (COM1)");
    AddPort("BIOS\\*PNP0501\\01", "COM2", "After (COM2)");
    AddPort("USBPORTS\\DEV\\00", "COM3", "After (COM3)");
    registry.At(GetParam().refusingKey).refusesOpen = true;

    EXPECT_EQ(Run(), GetParam().text);
    const std::size_t tail = GetParam().closedAfterFailure.size();
    ASSERT_GE(registry.closed.size(), tail);
    EXPECT_EQ(
        Names(registry.closed.end() - static_cast<std::ptrdiff_t>(tail), registry.closed.end()),
        GetParam().closedAfterFailure);
}

INSTANTIATE_TEST_SUITE_P(
    EachLevel, RegistryOpenFailure,
    ::testing::Values(OpenFailure{"Enum", "Enum", "Could not read from HKLM\\Enum", {}},
                      OpenFailure{"FirstLevel",
                                  "Enum\\USBPORTS",
                                  "Could not read from HKLM\\Enum\\USBPORTS",
                                  {"Enum"}},
                      OpenFailure{"Device",
                                  "Enum\\USBPORTS\\DEV",
                                  "Could not read from HKLM\\Enum\\USBPORTS\\DEV",
                                  {"USBPORTS", "Enum"}},
                      OpenFailure{"Instance",
                                  "Enum\\BIOS\\*PNP0501\\01",
                                  "Could not read from HKLM\\Enum\\...\\01",
                                  {"*PNP0501", "BIOS", "Enum"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryDiscovery, EntriesBeforeAFailureStay) {
    AddPort("BIOS\\*PNP0501\\00", "COM1", "First (COM1)");
    AddPort("USBPORTS\\DEV\\00", "COM3", "After (COM3)");
    registry.At("Enum\\USBPORTS\\DEV").refusesOpen = true;
    EXPECT_NE(Run(), "");
    EXPECT_EQ(PortNames(), (Names{"COM1"}));
}

TEST_F(RegistryDiscovery, ScanPortInstancesLeavesTheDeviceKeyOpen) {
    AddPort("BIOS\\*PNP0501\\00", "COM1", "First (COM1)");
    sys::RegistryKey enumKey = nullptr;
    sys::RegistryKey biosKey = nullptr;
    sys::RegistryKey deviceKey = nullptr;
    ASSERT_EQ(registry.OpenKey(registry.LocalMachine(), "Enum", enumKey), 0);
    ASSERT_EQ(registry.OpenKey(enumKey, "BIOS", biosKey), 0);
    ASSERT_EQ(registry.OpenKey(biosKey, "*PNP0501", deviceKey), 0);

    ScanPortInstances(registry, deviceKey, true, ports);
    EXPECT_EQ(registry.OpenCount(), 3u);
    EXPECT_EQ(PortNames(), (Names{"COM1"}));
    EXPECT_TRUE(ports.GetAt(0).isUsb);

    for (sys::RegistryKey key : {deviceKey, biosKey, enumKey})
        registry.CloseKey(key);
}

}  // namespace
