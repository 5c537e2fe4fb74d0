// The sysfs module over odd trees: tty entries of any name, links that are dangling, looping,
// virtual or leading out of sysfs, type files and /dev nodes of every kind, USB ancestors
// with product and interface strings of odd bytes and lengths. Checks each listed port, the
// ports that must or must not be listed, that no descriptor is left open, and that discovery
// through the port inventory hands the dialog the same ports.

#include <dirent.h>
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fuzz/Check.h"
#include "tests/sys/SysfsTree.h"
#include "fuzz/TextCheck.h"
#include "ports/DiscoverPorts.h"
#include "sys/DiscoveryPlatform.h"
#include "sys/posix/SysfsPorts.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t TEXT_LIMIT = 256;  // a friendly name stays shorter

enum class Expect { Listed, NotListed, Either };

std::size_t OpenDescriptors() {
    std::size_t count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (::readdir(dir) != nullptr)
            ++count;
        ::closedir(dir);
    }
    return count;
}

// A file name: no slash, no zero byte, not "." or "..", not empty.
std::string FileName(FuzzedDataProvider& input, std::size_t maxLength) {
    std::string name = input.ConsumeRandomLengthString(maxLength);
    name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return c == '/' || c == 0; }),
               name.end());
    return name == "." || name == ".." || name.empty() ? "x" : name;
}

std::string Pick(FuzzedDataProvider& input, const std::vector<std::string>& known,
                 std::size_t maxLength) {
    const std::size_t pick = input.ConsumeIntegralInRange<std::size_t>(0, known.size() + 2);
    return pick < known.size() ? known[pick] : FileName(input, maxLength);
}

bool IsPlainName(const std::string& name) {
    return !name.empty() && name.size() <= 32 && name[0] != '.' &&
           std::all_of(name.begin(), name.end(), [](unsigned char c) {
               return std::isalnum(c) || c == '_' || c == '-' || c == '.';
           });
}

// An attribute file: text, odd bytes, empty, a folder or a FIFO with no writer.
void Attribute(const fake::SysfsTree& tree, FuzzedDataProvider& input, const fs::path& file,
               const std::vector<std::string>& known) {
    switch (input.ConsumeIntegralInRange<int>(0, 5)) {
    case 0: tree.Folder(file); break;
    case 1: tree.Fifo(file); break;
    case 2: tree.Write(file, input.ConsumeRandomLengthString(700)); break;
    default: tree.Write(file, Pick(input, known, 64)); break;
    }
}

// devices/<chain>: folders that may carry what a USB device, a USB interface or a Bluetooth
// connection carries.
fs::path BuildDevice(const fake::SysfsTree& tree, FuzzedDataProvider& input) {
    static const std::vector<std::string> SEGMENTS = {
        "pci0000:00",   "0000:00:14.0", "usb1", "1-1",     "1-1:1.0", "platform", "serial8250",
        "serial8250:0", "bluetooth",    "hci0", "virtual", "devices", "tty"};
    fs::path dir = tree.Devices();
    const int depth = input.ConsumeIntegralInRange<int>(0, 5);
    for (int level = 0; level < depth; ++level) {
        dir /= Pick(input, SEGMENTS, 40);
        tree.Folder(dir);
        if (input.ConsumeIntegralInRange<int>(0, 3) == 0)
            Attribute(tree, input, dir / "idVendor", {"0403\n"});
        if (input.ConsumeIntegralInRange<int>(0, 3) == 0)
            Attribute(tree, input, dir / "bInterfaceNumber", {"00\n"});
        if (input.ConsumeBool())
            Attribute(tree, input, dir / "product",
                      {"FT232R USB UART\n", "", " \t\n", "\xE3\x82\xB7\xE3\x83\xAA\n",
                       "\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80", std::string(300, 'A')});
        if (input.ConsumeIntegralInRange<int>(0, 3) == 0)
            Attribute(tree, input, dir / "interface", {"CDC Abstract Control Model\n"});
        if (input.ConsumeIntegralInRange<int>(0, 3) == 0)
            tree.Link(dir / "driver", "../../bus/drivers/" + Pick(input, {"ftdi_sio"}, 60));
        if (input.ConsumeIntegralInRange<int>(0, 5) == 0)
            tree.Link(dir / "subsystem", "../../class/" + Pick(input, {"bluetooth"}, 20));
    }
    return dir;
}

bool IsUnderVirtual(const fake::SysfsTree& tree, const fs::path& tty) {
    const fs::path relative = tty.lexically_relative(tree.Devices());
    return !relative.empty() && *relative.begin() == "virtual";
}

// One class/tty entry and what the scan must make of it.
Expect BuildTty(const fake::SysfsTree& tree, FuzzedDataProvider& input, const std::string& name) {
    const fs::path entry = tree.ClassTty() / name;
    switch (input.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: {  // a console or pty
        const fs::path tty = tree.Devices() / "virtual" / "tty" / name;
        tree.Folder(tty);
        tree.Write(tty / "dev", "4:1\n");
        tree.RelativeLink(entry, tty);
        tree.Write(tree.Dev() / name, "");
        return Expect::NotListed;
    }
    case 1: tree.Link(entry, "../../devices/nowhere/" + name); return Expect::NotListed;
    case 2: tree.Link(entry, name); return Expect::NotListed;  // a loop
    case 3: tree.Folder(entry); return Expect::NotListed;      // not a link into devices
    case 4: {                                                  // a whole tty, but outside sysfs
        const fs::path tty = tree.Root() / "outside" / name;
        tree.Write(tty / "type", "4\n");
        tree.RelativeLink(tty / "device", tree.Root() / "outside");
        tree.RelativeLink(entry, tty);
        tree.Write(tree.Dev() / name, "");
        return Expect::NotListed;
    }
    default: break;
    }

    const fs::path device = BuildDevice(tree, input);
    const fs::path tty = device / "tty" / name;
    tree.Folder(tty);
    tree.RelativeLink(entry, tty);
    Expect expect = Expect::Listed;

    // The module reads a device link's text without resolving it: in sysfs a tty folder lies
    // below its device, so the link cannot dangle while the tty is there. Such links may list.
    switch (input.ConsumeIntegralInRange<int>(0, 4)) {
    case 0:
        tree.Link(tty / "device", "nowhere");
        expect = Expect::Either;
        break;
    case 1:
        tree.Link(tty / "device", "device");
        expect = Expect::Either;
        break;                                  // a loop
    case 2: expect = Expect::NotListed; break;  // no device link
    default: tree.RelativeLink(tty / "device", device); break;
    }

    switch (input.ConsumeIntegralInRange<int>(0, 5)) {
    case 0: break;
    case 1: tree.Write(tty / "type", "4\n"); break;
    case 2:
        tree.Write(tty / "type", "0\n");
        expect = Expect::NotListed;
        break;
    case 3: tree.Folder(tty / "type"); break;
    case 4: tree.Fifo(tty / "type"); break;
    default:
        tree.Write(tty / "type", input.ConsumeRandomLengthString(20));
        if (expect == Expect::Listed) expect = Expect::Either;
        break;
    }

    switch (input.ConsumeIntegralInRange<int>(0, 4)) {
    case 0: expect = Expect::NotListed; break;  // no /dev node
    case 1: tree.Folder(tree.Dev() / name); break;
    case 2:
        tree.Link(tree.Dev() / name, "nowhere");
        expect = Expect::NotListed;
        break;
    default: tree.Write(tree.Dev() / name, ""); break;
    }
    if (!IsPlainName(name) || IsUnderVirtual(tree, tty)) expect = Expect::NotListed;
    return expect;
}

// Whether a folder from the tty up to devices/ carries idVendor: only then can it be on USB.
bool HasUsbAncestor(const fake::SysfsTree& tree, const std::string& name) {
    std::error_code error;
    const fs::path devices = fs::canonical(tree.Devices(), error);
    fs::path dir = fs::canonical(tree.ClassTty() / name, error);
    if (error) return false;
    for (; dir != devices && dir.has_relative_path(); dir = dir.parent_path())
        if (fs::exists(dir / "idVendor", error)) return true;
    return false;
}

void CheckPort(const fake::SysfsTree& tree, const sys::InventoryPort& port) {
    FUZZ_CHECK(IsPlainName(port.portName));
    FUZZ_CHECK(port.devicePath == tree.DevRoot() + "/" + port.portName);
    FUZZ_CHECK(!port.description.empty() && fuzz::IsCleanText(port.description));
    FUZZ_CHECK(port.friendlyName == port.description + " (" + port.portName + ")");
    FUZZ_CHECK(port.friendlyName.size() < TEXT_LIMIT);
    // On USB below a USB device only, and named as one; anything else by its kind.
    FUZZ_CHECK(!port.isUsb || HasUsbAncestor(tree, port.portName));
    FUZZ_CHECK(port.isUsb || port.description == "Serial port" ||
               port.description == "Bluetooth serial port");
    if (port.portName.compare(0, 6, "rfcomm") == 0)
        FUZZ_CHECK(port.description == "Bluetooth serial port" && !port.isUsb);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);

    // The text cleaner on its own, with any bytes and any limit.
    const std::size_t limit = input.ConsumeIntegralInRange<std::size_t>(0, 300);
    const std::string raw = input.ConsumeRandomLengthString(600);
    const std::string clean = sys::posix::SanitiseText(raw, limit);
    FUZZ_CHECK(clean.size() <= limit && fuzz::IsCleanText(clean));

    fake::SysfsTree tree;
    static const std::vector<std::string> TTY_NAMES = {
        "ttyS0", "ttyS10", "ttyS2", "ttyUSB0", "ttyACM0", "rfcomm0", "ttyAMA0", ".ttyS1", "tty"};
    std::map<std::string, Expect> expected;
    const int ttys = input.ConsumeIntegralInRange<int>(0, 6);
    for (int i = 0; i < ttys && input.remaining_bytes() > 0; ++i) {
        const std::string name = Pick(input, TTY_NAMES, 48);
        if (expected.count(name) == 0) expected[name] = BuildTty(tree, input, name);
    }

    const std::string sysRoot = tree.SysRoot();
    const std::string devRoot = tree.DevRoot();
    const std::size_t descriptors = OpenDescriptors();
    const sys::posix::SysfsPorts inventory(sysRoot, devRoot);
    const std::vector<sys::InventoryPort> ports = inventory.ListPorts();
    FUZZ_CHECK(OpenDescriptors() == descriptors);

    std::set<std::string> listed;
    for (const auto& port : ports) {
        CheckPort(tree, port);
        FUZZ_CHECK(listed.insert(port.portName).second);
        const auto found = expected.find(port.portName);
        FUZZ_CHECK(found != expected.end() && found->second != Expect::NotListed);
    }
    for (const auto& [name, expect] : expected)
        FUZZ_CHECK(expect != Expect::Listed || listed.count(name) == 1);

    // Discovery through the inventory lists the same ports, field for field, in the same order.
    sys::InventoryPlatform platform(inventory);
    PortList entries;
    DiscoverPorts(entries, platform);
    FUZZ_CHECK(OpenDescriptors() == descriptors);
    FUZZ_CHECK(entries.GetCount() == ports.size());
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const sys::InventoryPort& port = ports[i];
        const PortEntry entry{port.devicePath, port.portName, port.friendlyName, port.isUsb,
                              port.description};
        FUZZ_CHECK(entries.GetAt(i) == entry);
    }
    return 0;
}
