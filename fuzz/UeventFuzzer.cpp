// The kernel-event parser over arbitrary datagrams: it reads only the bytes it is given, and it
// says "tty" only for a datagram whose header names a device coming, going or renamed and one of
// whose later fields is exactly SUBSYSTEM=tty, as a plain reading of the fields finds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/Check.h"
#include "sys/posix/Uevents.h"

namespace {

bool ReferenceIsTty(const std::string& datagram) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (start < datagram.size()) {
        std::size_t end = datagram.find('\0', start);
        if (end == std::string::npos) end = datagram.size();
        fields.push_back(datagram.substr(start, end - start));
        start = end + 1;
    }
    if (fields.empty()) return false;
    const std::size_t at = fields[0].find('@');
    if (at == std::string::npos) return false;
    const std::string action = fields[0].substr(0, at);
    if (action != "add" && action != "remove" && action != "move") return false;
    for (std::size_t i = 1; i < fields.size(); ++i)
        if (fields[i] == "SUBSYSTEM=tty") return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy, so reading one byte past the end is caught by the sanitizer.
    const std::vector<char> copy(data, data + size);
    const std::string datagram(copy.begin(), copy.end());
    FUZZ_CHECK(sys::posix::IsTtyUevent(copy.data(), copy.size()) == ReferenceIsTty(datagram));
    return 0;
}
