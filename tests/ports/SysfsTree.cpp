#include "tests/ports/SysfsTree.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace fake {

SysfsTree::SysfsTree() {
    std::string pattern = (fs::temp_directory_path() / "marlox-sysfs-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_root = pattern;
    fs::create_directories(ClassTty());
    fs::create_directories(Devices() / "virtual" / "tty");
    fs::create_directories(Dev());
}

SysfsTree::~SysfsTree() {
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
}

void SysfsTree::Write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// Relative links, as sysfs makes them.
void SysfsTree::Link(const fs::path& link, const fs::path& target) {
    fs::create_directories(link.parent_path());
    fs::create_symlink(fs::relative(target, link.parent_path()), link);
}

fs::path SysfsTree::AddTty(const std::string& name, const std::string& deviceDir) {
    const fs::path device = Devices() / deviceDir;
    const fs::path tty = device / "tty" / name;
    fs::create_directories(tty);
    Write(tty / "dev", "4:64\n");
    Link(tty / "device", device);
    Link(tty / "subsystem", m_root / "sys" / "class" / "tty");
    Link(ClassTty() / name, tty);
    Write(Dev() / name, "");
    return tty;
}

void SysfsTree::AddUart(const std::string& name, int type) {
    const std::string device = "platform/serial8250/serial8250:0/serial8250:0." + name.substr(4);
    const fs::path tty = AddTty(name, device);
    Write(tty / "type", std::to_string(type) + "\n");
}

void SysfsTree::AddVirtual(const std::string& name) {
    const fs::path tty = Devices() / "virtual" / "tty" / name;
    fs::create_directories(tty);
    Write(tty / "dev", "4:1\n");
    Link(ClassTty() / name, tty);
    Write(Dev() / name, "");
}

std::string SysfsTree::AddUsbDevice(const std::string& busPath, const std::string& product) {
    const fs::path device = Devices() / "pci0000:00" / "0000:00:14.0" / "usb1" / busPath;
    Write(device / "idVendor", "0403\n");
    Write(device / "idProduct", "6001\n");
    Write(device / "manufacturer", "FTDI\n");
    if (!product.empty()) Write(device / "product", product);
    const fs::path interface = device / (busPath + ":1.0");
    Write(interface / "bInterfaceNumber", "00\n");
    return fs::relative(interface, Devices()).string();
}

void SysfsTree::AddUsbAdapter(const std::string& name, const std::string& busPath,
                              const std::string& product) {
    AddTty(name, AddUsbDevice(busPath, product) + "/" + name);
}

void SysfsTree::RemoveTty(const std::string& name) {
    fs::remove(ClassTty() / name);
    fs::remove(Dev() / name);
}

}  // namespace fake
