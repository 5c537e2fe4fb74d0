#include "tests/sys/SysfsTree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace fs = std::filesystem;

namespace fake {

SysfsTree::SysfsTree() {
    std::string pattern = (fs::temp_directory_path() / "marlox-sysfs-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_root = pattern;
    Folder(ClassTty());
    Folder(Devices() / "virtual" / "tty");
    Folder(Dev());
}

SysfsTree::~SysfsTree() {
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
}

fs::path SysfsTree::AddTty(const std::string& name, const std::string& deviceDir) {
    const fs::path device = Devices() / deviceDir;
    const fs::path tty = device / "tty" / name;
    Folder(tty);
    Write(tty / "dev", "4:64\n");
    RelativeLink(tty / "device", device);
    RelativeLink(tty / "subsystem", ClassTty());
    RelativeLink(ClassTty() / name, tty);
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
    Folder(tty);
    Write(tty / "dev", "4:1\n");
    RelativeLink(ClassTty() / name, tty);
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

void SysfsTree::Folder(const fs::path& folder) const {
    std::error_code ignored;
    fs::create_directories(folder, ignored);
}

// Never blocks and never writes through a link: the name may already be a FIFO or a link
// made for another tty.
void SysfsTree::Write(const fs::path& file, const std::string& bytes) const {
    Folder(file.parent_path());
    const int fd = ::open(file.c_str(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return;
    // A short write still leaves a tree the scan must cope with.
    [[maybe_unused]] const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    ::close(fd);
}

void SysfsTree::Fifo(const fs::path& file) const {
    Folder(file.parent_path());
    ::mkfifo(file.c_str(), 0600);
}

void SysfsTree::Link(const fs::path& link, const std::string& target) const {
    Folder(link.parent_path());
    std::error_code ignored;
    fs::create_symlink(target, link, ignored);
}

void SysfsTree::RelativeLink(const fs::path& link, const fs::path& target) const {
    Link(link, target.lexically_relative(link.parent_path()).string());
}

}  // namespace fake
