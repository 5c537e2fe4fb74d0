#pragma once
// A sysfs and /dev tree in a temporary folder, laid out the way the kernel lays out ttys.

#include <filesystem>
#include <string>

namespace fake {

class SysfsTree {
public:
    SysfsTree();
    ~SysfsTree();
    SysfsTree(const SysfsTree&) = delete;
    SysfsTree& operator=(const SysfsTree&) = delete;

    std::string SysRoot() const { return (m_root / "sys").string(); }
    std::string DevRoot() const { return (m_root / "dev").string(); }

    // A tty whose class entry links to devices/<deviceDir>/tty/<name>, with a device link to
    // devices/<deviceDir> and a node in /dev. Returns the tty's folder.
    std::filesystem::path AddTty(const std::string& name, const std::string& deviceDir);
    // A built-in UART with its serial-core type (0 for a phantom one).
    void AddUart(const std::string& name, int type);
    // A console-like tty under devices/virtual.
    void AddVirtual(const std::string& name);
    // A USB device folder (with idVendor) and its interface folder (with bInterfaceNumber).
    std::string AddUsbDevice(const std::string& busPath, const std::string& product);
    // A USB serial adapter's tty, as plugging it in makes it: ttyUSB<n> on bus port busPath.
    void AddUsbAdapter(const std::string& name, const std::string& busPath,
                       const std::string& product);
    // The tty gone, as unplugging its adapter leaves sysfs: no class entry, no /dev node.
    void RemoveTty(const std::string& name);

    void Write(const std::filesystem::path& file, const std::string& bytes);
    void Link(const std::filesystem::path& link, const std::filesystem::path& target);
    std::filesystem::path Devices() const { return m_root / "sys" / "devices"; }
    std::filesystem::path ClassTty() const { return m_root / "sys" / "class" / "tty"; }
    std::filesystem::path Dev() const { return m_root / "dev"; }

private:
    std::filesystem::path m_root;
};

}  // namespace fake
