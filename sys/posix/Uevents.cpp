#include "sys/posix/Uevents.h"

#include <linux/netlink.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <string_view>

namespace sys::posix {

namespace {

// The kernel's uevent buffer is 2048 bytes; anything longer was not sent by it.
constexpr std::size_t MAX_UEVENT_BYTES = 8192;
// Datagrams read per call; more wait for the next, so a flood cannot hold up the caller.
constexpr int MAX_DATAGRAMS_PER_READ = 64;
constexpr unsigned KERNEL_UEVENT_GROUP = 1;

bool IsRelevantAction(std::string_view action) {
    return action == "add" || action == "remove" || action == "move";
}

}  // namespace

bool IsTtyUevent(const char* data, std::size_t size) {
    if (data == nullptr || size == 0) return false;
    bool header = true;
    bool relevantAction = false;
    std::size_t start = 0;
    while (start < size) {
        const void* nul = std::memchr(data + start, '\0', size - start);
        const std::size_t end =
            nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - data) : size;
        const std::string_view field(data + start, end - start);
        if (header) {
            const std::size_t at = field.find('@');
            if (at == std::string_view::npos) return false;  // not a kernel event (libudev's)
            relevantAction = IsRelevantAction(field.substr(0, at));
            if (!relevantAction) return false;
            header = false;
        } else if (field == "SUBSYSTEM=tty") {
            return true;
        }
        start = end + 1;
    }
    return false;
}

UeventSocket UeventSocket::OpenKernel() {
    UniqueFd fd(
        ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, NETLINK_KOBJECT_UEVENT));
    if (!fd.Valid()) return UeventSocket(UniqueFd(), true);
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = KERNEL_UEVENT_GROUP;
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return UeventSocket(UniqueFd(), true);
    return UeventSocket(std::move(fd), true);
}

UeventSocket UeventSocket::FromDatagrams(UniqueFd fd) { return UeventSocket(std::move(fd), false); }

bool UeventSocket::ReadTtyEvents() {
    if (!Valid()) return false;
    bool tty = false;
    char buffer[MAX_UEVENT_BYTES];
    for (int i = 0; i < MAX_DATAGRAMS_PER_READ; ++i) {
        sockaddr_nl from{};
        iovec part{buffer, sizeof buffer};
        msghdr message{};
        message.msg_name = &from;
        message.msg_namelen = sizeof from;
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        const ssize_t got = ::recvmsg(m_fd.Get(), &message, MSG_DONTWAIT);
        if (got < 0) {
            if (errno == EINTR) continue;
            // Events were lost: whatever they were, the ports must be looked at again.
            if (errno == ENOBUFS) tty = true;
            break;
        }
        if (message.msg_flags & MSG_TRUNC) continue;
        // Only the kernel (port id 0) speaks for the devices; anyone else may say anything.
        if (m_kernel &&
            (message.msg_namelen < sizeof from || from.nl_family != AF_NETLINK || from.nl_pid != 0))
            continue;
        if (IsTtyUevent(buffer, static_cast<std::size_t>(got))) tty = true;
    }
    return tty;
}

}  // namespace sys::posix
