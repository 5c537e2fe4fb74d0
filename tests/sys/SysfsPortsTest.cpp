// The Linux port inventory over sysfs trees built by the tests.
#include "sys/DiscoveryPlatform.h"
#include "sys/posix/SysfsPorts.h"
#include "tests/sys/SysfsTree.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using sys::InventoryPort;

namespace {

class Sysfs : public ::testing::Test {
protected:
    std::vector<InventoryPort> Scan() const {
        return sys::posix::SysfsPorts(tree.SysRoot(), tree.DevRoot()).ListPorts();
    }

    std::vector<std::string> ScannedNames() const {
        std::vector<std::string> names;
        for (const InventoryPort& port : Scan())
            names.push_back(port.portName);
        return names;
    }

    // ttyUSB0 on an FTDI-style adapter: tty -> port device (driver ftdi_sio) -> interface ->
    // device.
    void AddFtdi(const std::string& product, const std::string& busPath = "1-1",
                 const std::string& name = "ttyUSB0") {
        const std::string interface = tree.AddUsbDevice(busPath, product);
        const fs::path port = tree.Devices() / interface / name;
        tree.RelativeLink(port / "driver", tree.SysRoot() + "/bus/usb-serial/drivers/ftdi_sio");
        fs::create_directories(tree.SysRoot() + "/bus/usb-serial/drivers/ftdi_sio");
        tree.AddTty(name, interface + "/" + name);
    }

    fake::SysfsTree tree;
};

using Names = std::vector<std::string>;

TEST_F(Sysfs, ListsRealTtysOnlyInNaturalOrder) {
    tree.AddVirtual("tty0");
    tree.AddVirtual("ptmx");
    tree.AddUart("ttyS0", 4);
    tree.AddUart("ttyS1", 0);  // phantom
    tree.AddUart("ttyS2", 4);
    tree.AddUart("ttyS10", 4);
    fs::create_directories(tree.ClassTty() / "ttyS3");  // no device link: not a port
    EXPECT_EQ(ScannedNames(), (Names{"ttyS0", "ttyS2", "ttyS10"}));
}

TEST_F(Sysfs, ReadsFoldersLongerThanOneBlock) {
    // Consoles with long names fill several reads of each folder; real ports lie among them.
    Names expected;
    for (int i = 0; i < 10; ++i) {
        for (int k = 0; k < 10; ++k)
            tree.AddVirtual("console" + std::to_string(i * 10 + k) + std::string(200, 'x'));
        expected.push_back("ttyS" + std::to_string(i));
        tree.AddUart(expected.back(), 4);
    }
    EXPECT_EQ(ScannedNames(), expected);
}

TEST_F(Sysfs, BuiltInUart) {
    tree.AddUart("ttyS0", 4);
    const auto ports = Scan();
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].devicePath, tree.DevRoot() + "/ttyS0");
    EXPECT_EQ(ports[0].friendlyName, "Serial port (ttyS0)");
    EXPECT_EQ(ports[0].description, "Serial port");
    EXPECT_FALSE(ports[0].isUsb);
}

TEST_F(Sysfs, BuiltInPortsWhateverTheirDeviceFolderAreNotOnUsb) {
    tree.AddUart("ttyS0", 4);
    const fs::path tty = tree.AddTty("ttyS1", "platform/\x01\x7f");  // nothing printable
    tree.Write(tty / "type", "4\n");
    const auto ports = Scan();
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_FALSE(ports[0].isUsb);
    EXPECT_FALSE(ports[1].isUsb);
}

TEST_F(Sysfs, UsbAdaptersAreNamedByProductAndMarkedUsb) {
    AddFtdi("FT232R USB UART\n");
    const std::string acm = tree.AddUsbDevice("1-2", "Pico\n");
    tree.AddTty("ttyACM0", acm);  // CDC-ACM: the tty hangs off the interface itself

    const auto ports = Scan();
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].portName, "ttyACM0");
    EXPECT_EQ(ports[0].friendlyName, "Pico (ttyACM0)");
    EXPECT_EQ(ports[0].description, "Pico");
    EXPECT_TRUE(ports[0].isUsb);
    EXPECT_EQ(ports[1].friendlyName, "FT232R USB UART (ttyUSB0)");
    EXPECT_EQ(ports[1].description, "FT232R USB UART");
    EXPECT_TRUE(ports[1].isUsb);
}

TEST_F(Sysfs, BluetoothPortOnAUsbDongleIsStillBluetooth) {
    const std::string dongle = tree.AddUsbDevice("1-4", "Bluetooth Radio\n");
    const std::string connection = dongle + "/bluetooth/hci0/hci0:11";
    fs::create_directories(tree.Devices() / connection);
    tree.RelativeLink(tree.Devices() / connection / "subsystem",
                      tree.SysRoot() + "/class/bluetooth");
    tree.AddTty("rfcomm0", connection);

    const auto ports = Scan();
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].friendlyName, "Bluetooth serial port (rfcomm0)");
    EXPECT_EQ(ports[0].description, "Bluetooth serial port");
    EXPECT_FALSE(ports[0].isUsb);
}

TEST_F(Sysfs, EntriesThatVanishAreSkipped) {
    tree.AddUart("ttyS0", 4);
    // Removed after the folder was listed: the class link dangles.
    AddFtdi("Gone", "1-1", "ttyUSB1");
    fs::remove_all(tree.Devices() / "pci0000:00");
    // The device node went away before sysfs caught up.
    tree.AddUart("ttyS4", 4);
    fs::remove(tree.Dev() / "ttyS4");
    EXPECT_EQ(ScannedNames(), (Names{"ttyS0"}));
}

TEST_F(Sysfs, MissingSysfsListsNothing) {
    fs::remove_all(tree.ClassTty());
    EXPECT_TRUE(Scan().empty());
}

// Product strings come from the device: whatever they hold, the name is clean and bounded.
struct Product {
    const char* name;
    std::string raw;
    std::string shown;
};

class SysfsProduct : public Sysfs, public ::testing::WithParamInterface<Product> {};

TEST_P(SysfsProduct, IsShownCleanAndBounded) {
    AddFtdi(GetParam().raw);
    const auto ports = Scan();
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].description, GetParam().shown);
    EXPECT_EQ(ports[0].friendlyName, GetParam().shown + " (ttyUSB0)");
    EXPECT_LT(ports[0].friendlyName.size(), 256u);
}

INSTANTIATE_TEST_SUITE_P(
    Odd, SysfsProduct,
    ::testing::Values(Product{"NonAscii", "Ger\xC3\xA4t \xE6\x97\xA5\xE6\x9C\xAC\n",
                              "Ger\xC3\xA4t \xE6\x97\xA5\xE6\x9C\xAC"},
                      Product{"InvalidUtf8", "\xFF\xC3(Bad\xED\xA0\x80",
                              "?"
                              "?(Bad???"},
                      Product{"ControlCharacters", "  Tab\tand\r\nnew\x7Fline \x1B[31m ",
                              "Tab and new line [31m"},
                      Product{"OverLong", std::string(300, 'A'), std::string(200, 'A')},
                      Product{"OverLongCutBeforeACharacter", std::string(199, 'A') + "\xC3\xA9",
                              std::string(199, 'A')},
                      Product{"OnlyControlsFallsBackToTheDriver", "\x01\x02\n", "ftdi_sio"},
                      Product{"MissingFallsBackToTheDriver", "", "ftdi_sio"},
                      Product{"EmbeddedZero", std::string("Dual\0Port", 9), "Dual Port"}),
    [](const auto& info) { return std::string(info.param.name); });

// The inventory's records, every field.
TEST_F(Sysfs, InventoryListsEveryFieldOfEachPort) {
    tree.AddUart("ttyS0", 4);
    AddFtdi("FT232R USB UART");
    const auto ports = Scan();

    ASSERT_EQ(ports.size(), 2u);
    const sys::InventoryPort& uart = ports[0];
    EXPECT_EQ(uart.devicePath, tree.DevRoot() + "/ttyS0");
    EXPECT_EQ(uart.portName, "ttyS0");
    EXPECT_EQ(uart.friendlyName, "Serial port (ttyS0)");
    EXPECT_EQ(uart.description, "Serial port");
    EXPECT_FALSE(uart.isUsb);
    EXPECT_EQ(ports[1].portName, "ttyUSB0");
    EXPECT_EQ(ports[1].friendlyName, "FT232R USB UART (ttyUSB0)");
    EXPECT_TRUE(ports[1].isUsb);
}

TEST_F(Sysfs, InventoryWithoutSysfsListsNothing) {
    EXPECT_TRUE(sys::posix::SysfsPorts("/nonexistent", "/nonexistent").ListPorts().empty());
}

// The machine's own platform lists from sysfs and has no Windows services to fall back on.
TEST(SystemPlatform, IsTheSysfsInventory) {
    sys::DiscoveryPlatform& platform = sys::NativeDiscoveryPlatform();
    EXPECT_NE(platform.Inventory(), nullptr);
    EXPECT_EQ(platform.Windows(), nullptr);
    EXPECT_EQ(&sys::SystemDiscoveryPlatform(), &platform);
}

}  // namespace
