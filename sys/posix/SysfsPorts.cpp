#include "sys/posix/SysfsPorts.h"

#include "sys/posix/UniqueFd.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>
#include <tuple>

namespace sys::posix {

namespace {

constexpr std::size_t ATTRIBUTE_READ_LIMIT = 512;  // sysfs attributes are far shorter
constexpr std::size_t PRODUCT_LIMIT = 200;         // product + " (name)" stays under 256 bytes
constexpr std::size_t NAME_LIMIT = 32;
constexpr int USB_WALK_LIMIT = 12;
constexpr std::size_t DIRECTORY_BLOCK_SIZE = 8192;  // /sys/class/tty's 70 entries take 2.2 KB
constexpr std::size_t SMALLEST_ENTRY_SIZE =
    24;  // a dirent64 with a one-letter name  // tty -> interface -> device is two or three levels

// Kernel tty names are short and plain; anything else is not a port we can name safely.
bool IsPlainName(std::string_view name) {
    if (name.empty() || name.size() > NAME_LIMIT || name[0] == '.') return false;
    return std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-' || c == '.';
    });
}

// sysfs hands an attribute over in one read, so a short read is its end.
std::optional<std::string> ReadAttribute(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (!fd.Valid()) return std::nullopt;
    char data[ATTRIBUTE_READ_LIMIT];
    std::size_t filled = 0;
    while (filled < sizeof data) {
        const ssize_t got = ::read(fd.Get(), data + filled, sizeof data - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        const std::size_t wanted = sizeof data - filled;
        filled += static_cast<std::size_t>(got);
        if (static_cast<std::size_t>(got) < wanted) break;
    }
    return std::string(data, filled);
}

bool IsZeroNumber(const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    return end != text.c_str() && value == 0;
}

std::optional<std::string> ReadLink(const std::string& path) {
    char target[4096];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof target) return std::nullopt;
    return std::string(target, static_cast<std::size_t>(length));
}

std::optional<std::string> RealPath(const std::string& path) {
    const auto release = [](char* p) { std::free(p); };
    std::unique_ptr<char, decltype(release)> resolved(::realpath(path.c_str(), nullptr), release);
    if (!resolved) return std::nullopt;
    return std::string(resolved.get());
}

bool Exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Parent(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

// Resolves ".." and "." without asking the file system: sysfs folders on the way are real
// folders, so the text alone gives the place.
std::string Normalise(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string normal;
    for (const std::string& part : parts)
        normal += "/" + part;
    return normal.empty() ? "/" : normal;
}

// Where a sysfs link points, from one link read; a folder that is no link is its own place.
// Absent when the entry is gone.
std::optional<std::string> Follow(const std::string& path) {
    char target[4096];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    if (length < 0)
        return errno == EINVAL ? std::optional<std::string>(Normalise(path)) : std::nullopt;
    if (static_cast<std::size_t>(length) >= sizeof target) return std::nullopt;
    const std::string text(target, static_cast<std::size_t>(length));
    if (!text.empty() && text[0] == '/') return Normalise(text);
    return Normalise(path.substr(0, path.find_last_of('/')) + "/" + text);
}

// Every USB device sits below a root hub folder named usb<bus>; no such folder on the path,
// no USB ancestor to look for.
bool MayBeOnUsb(const std::string& path) {
    for (std::size_t at = path.find("/usb"); at != std::string::npos;
         at = path.find("/usb", at + 1)) {
        const std::size_t digit = at + 4;
        if (digit < path.size() && path[digit] >= '0' && path[digit] <= '9') return true;
    }
    return false;
}

bool IsUnder(const std::string& path, const std::string& root) {
    return path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
           path[root.size()] == '/';
}

// ttyS2 before ttyS10: the letters first, then the trailing number by value.
bool NaturalLess(const std::string& a, const std::string& b) {
    auto split = [](std::string_view s) {
        std::size_t digits = s.size();
        while (digits > 0 && s[digits - 1] >= '0' && s[digits - 1] <= '9')
            --digits;
        const std::string_view number = s.substr(digits);
        return std::make_tuple(s.substr(0, digits), number.size(), number);
    };
    return split(a) < split(b);
}

// How a port reads to the user, and whether it is on USB.
struct PortKind {
    std::string name;
    bool usb = false;
};

std::string UsbName(const std::string& deviceDir, const std::string& usbDevice,
                    const std::string& interfaceDir) {
    if (auto product = ReadAttribute(usbDevice + "/product")) {
        std::string text = SanitiseText(*product, PRODUCT_LIMIT);
        if (!text.empty()) return text;
    }
    if (!interfaceDir.empty()) {
        if (auto interface = ReadAttribute(interfaceDir + "/interface")) {
            std::string text = SanitiseText(*interface, PRODUCT_LIMIT);
            if (!text.empty()) return text;
        }
    }
    for (const std::string& dir : {deviceDir, interfaceDir}) {
        if (dir.empty()) continue;
        if (auto driver = ReadLink(dir + "/driver")) {
            std::string text = SanitiseText(BaseName(*driver), PRODUCT_LIMIT);
            if (!text.empty()) return text;
        }
    }
    return "USB serial port";
}

// The USB device the tty hangs off, if any: the first ancestor with idVendor, still inside
// sysfs' device tree.
std::optional<PortKind> UsbKind(const std::string& deviceDir, const std::string& devicesRoot) {
    std::string interfaceDir;
    std::string dir = deviceDir;
    for (int level = 0; level < USB_WALK_LIMIT && IsUnder(dir, devicesRoot); ++level) {
        if (interfaceDir.empty() && Exists(dir + "/bInterfaceNumber")) interfaceDir = dir;
        if (Exists(dir + "/idVendor")) return PortKind{UsbName(deviceDir, dir, interfaceDir), true};
        dir = Parent(dir);
    }
    return std::nullopt;
}

// An rfcomm port hangs off its Bluetooth connection, which may itself sit on a USB dongle:
// it is still a Bluetooth port, not a USB one.
std::optional<PortKind> BluetoothKind(const std::string& name, const std::string& deviceDir) {
    const auto subsystem = ReadLink(deviceDir + "/subsystem");
    if (name.compare(0, 6, "rfcomm") != 0 && !(subsystem && BaseName(*subsystem) == "bluetooth"))
        return std::nullopt;
    return PortKind{"Bluetooth serial port", false};
}

// The entries of a folder that can be tty names; none when it cannot be read. Read in blocks
// straight from the kernel: the folders are listed on every discovery, and readdir's stream
// costs a status call and a heap buffer each time.
std::vector<std::string> ListPlainNames(const std::string& folder) {
    std::vector<std::string> names;
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.Valid()) return names;
    alignas(dirent64) char block[DIRECTORY_BLOCK_SIZE];
    for (;;) {
        const ssize_t filled = ::getdents64(dir.Get(), block, sizeof block);
        if (filled < 0 && errno == EINTR) continue;
        if (filled <= 0) return names;
        names.reserve(names.size() + static_cast<std::size_t>(filled) / SMALLEST_ENTRY_SIZE);
        for (ssize_t at = 0; at < filled;) {
            const auto* entry = reinterpret_cast<const dirent64*>(block + at);
            at += entry->d_reclen;
            if (IsPlainName(entry->d_name)) names.emplace_back(entry->d_name);
        }
    }
}

}  // namespace

std::string SanitiseText(const std::string& raw, std::size_t maxBytes) {
    std::string clean;
    clean.reserve(std::min(raw.size(), maxBytes));
    bool pendingSpace = false;
    auto put = [&](const char* bytes, std::size_t count) -> bool {
        const std::size_t space = pendingSpace && !clean.empty() ? 1 : 0;
        if (clean.size() + space + count > maxBytes) return false;
        if (space) clean += ' ';
        pendingSpace = false;
        clean.append(bytes, count);
        return true;
    };
    for (std::size_t i = 0; i < raw.size();) {
        const auto lead = static_cast<unsigned char>(raw[i]);
        std::size_t length = lead < 0x80                    ? 1
                             : lead >= 0xC2 && lead <= 0xDF ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = i + k < raw.size() ? static_cast<unsigned char>(raw[i + k]) : 0u;
            bool ok = (next & 0xC0) == 0x80;
            // Reject overlong forms, surrogates and code points above U+10FFFF.
            if (k == 1 && ok) {
                if (lead == 0xE0) ok = next >= 0xA0;
                if (lead == 0xED) ok = next <= 0x9F;
                if (lead == 0xF0) ok = next >= 0x90;
                if (lead == 0xF4) ok = next <= 0x8F;
            }
            if (!ok) {
                length = 0;
                break;
            }
        }
        if (length == 0) {
            if (!put("?", 1)) break;
            ++i;
            continue;
        }
        if (length == 1 && (lead < 0x20 || lead == 0x7F || lead == ' ')) {
            pendingSpace = true;
            ++i;
            continue;
        }
        if (!put(&raw[i], length)) break;
        i += length;
    }
    return clean;
}

SysfsPorts::SysfsPorts(std::string sysRoot, std::string devRoot)
    : m_sysRoot(std::move(sysRoot)), m_devRoot(std::move(devRoot)) {}

std::vector<InventoryPort> SysfsPorts::ListPorts() const {
    const auto realSysRoot = RealPath(m_sysRoot);
    if (!realSysRoot) return {};
    const std::string classDir = *realSysRoot + "/class/tty";
    const std::string devicesRoot = *realSysRoot + "/devices";
    std::vector<std::string> names = ListPlainNames(classDir);
    // Consoles, ptys and the like, most of the entries: one folder listing spares a link read
    // for each of them, and dropping them first leaves only a few names to sort.
    std::vector<std::string> virtualNames = ListPlainNames(devicesRoot + "/virtual/tty");
    std::sort(virtualNames.begin(), virtualNames.end());
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&](const std::string& name) {
                                   return std::binary_search(virtualNames.begin(),
                                                             virtualNames.end(), name);
                               }),
                names.end());
    std::sort(names.begin(), names.end(), NaturalLess);

    std::vector<InventoryPort> ports;
    for (const std::string& name : names) {
        const auto ttyDir = Follow(classDir + "/" + name);
        if (!ttyDir || !IsUnder(*ttyDir, devicesRoot) || IsUnder(*ttyDir, devicesRoot + "/virtual"))
            continue;
        const auto deviceDir = Follow(*ttyDir + "/device");
        if (!deviceDir) continue;
        if (const auto type = ReadAttribute(*ttyDir + "/type")) {
            if (IsZeroNumber(*type))
                continue;  // a phantom UART: the driver found no hardware behind it
        }
        const std::string devicePath = m_devRoot + "/" + name;
        if (!Exists(devicePath)) continue;

        std::optional<PortKind> kind = BluetoothKind(name, *deviceDir);
        if (!kind) kind = MayBeOnUsb(*deviceDir) ? UsbKind(*deviceDir, devicesRoot) : std::nullopt;
        if (!kind) kind = PortKind{"Serial port", false};
        ports.push_back({devicePath, name, kind->name + " (" + name + ")", kind->usb, kind->name});
    }
    return ports;
}

}  // namespace sys::posix
