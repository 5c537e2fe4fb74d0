#pragma once
// A sysfs and /dev tree in a temporary folder, removed when it goes: laid out the way the kernel
// lays out ttys for the tests, or file by file, odd as it may be, for the fuzzers.

#include <filesystem>
#include <string>

namespace fake {

class SysfsTree {
public:
    SysfsTree();
    ~SysfsTree();
    SysfsTree(const SysfsTree&) = delete;
    SysfsTree& operator=(const SysfsTree&) = delete;

    const std::filesystem::path& Root() const { return m_root; }
    std::string SysRoot() const { return (m_root / "sys").string(); }
    std::string DevRoot() const { return Dev().string(); }
    std::filesystem::path Dev() const { return m_root / "dev"; }
    std::filesystem::path Devices() const { return m_root / "sys" / "devices"; }
    std::filesystem::path ClassTty() const { return m_root / "sys" / "class" / "tty"; }

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

    // Each creates missing parent folders and gives up quietly when the file system refuses
    // (a fuzzed name may not be creatable): the scan then meets the tree as it is.
    void Write(const std::filesystem::path& file, const std::string& bytes) const;
    void Folder(const std::filesystem::path& folder) const;
    void Fifo(const std::filesystem::path& file) const;
    // A link holding target exactly as given.
    void Link(const std::filesystem::path& link, const std::string& target) const;
    // A link to target, written relative to the link's folder as sysfs writes them.
    void RelativeLink(const std::filesystem::path& link, const std::filesystem::path& target) const;

private:
    std::filesystem::path m_root;
};

}  // namespace fake
