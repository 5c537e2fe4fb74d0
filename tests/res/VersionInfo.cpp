#include "tests/res/VersionInfo.h"

namespace afx::res {
namespace {

constexpr std::uint32_t FIXED_SIGNATURE = 0xFEEF04BD;
constexpr std::size_t FIXED_SIZE = 52;
constexpr int MAX_DEPTH = 8;  // root, StringFileInfo, table, string: far below this

std::size_t AlignUp4(std::size_t offset) { return (offset + 3) & ~static_cast<std::size_t>(3); }

// One node at the start of data (DWORD aligned relative to the resource start, as is data);
// its wLength, which covers its children, goes to length.
VersionNode ReadNode(ByteView data, int depth, std::size_t& length) {
    if (depth > MAX_DEPTH) throw FormatError("version record nested too deep");
    ByteReader head(data);
    length = head.U16();
    std::size_t valueLength = head.U16();
    std::uint16_t type = head.U16();
    ByteView node = data.Sub(0, length);
    ByteReader r(node);
    r.Skip(6);

    VersionNode result;
    result.key = Utf16ToUtf8(r.Utf16z());
    result.isText = type == 1;
    r.AlignTo4();
    if (result.isText) {
        // wValueLength counts characters, terminator included; some compilers give bytes,
        // so read up to the terminator and no further than the node.
        std::size_t chars = valueLength < r.Remaining() / 2 ? valueLength : r.Remaining() / 2;
        ByteReader value(r.Take(chars * 2));
        std::u16string text;
        for (std::size_t i = 0; i < chars; ++i) {
            char16_t c = static_cast<char16_t>(value.U16());
            if (c == 0) break;
            text.push_back(c);
        }
        result.text = Utf16ToUtf8(text);
    } else {
        ByteView value = r.Take(valueLength);
        result.value.assign(value.data, value.data + value.size);
    }
    r.AlignTo4();
    while (r.Remaining() > 0) {
        ByteView rest = node.Sub(r.Offset(), r.Remaining());
        std::size_t childLength = 0;
        result.children.push_back(ReadNode(rest, depth + 1, childLength));
        // The last child's padding may be cut off by its parent's length.
        std::size_t padded = AlignUp4(childLength);
        r.Skip(padded < r.Remaining() ? padded : r.Remaining());
    }
    return result;
}

}  // namespace

const VersionNode* VersionNode::Child(const std::string& childKey) const {
    for (const VersionNode& child : children) {
        if (child.key == childKey) return &child;
    }
    return nullptr;
}

VersionInfo ParseVersionInfo(ByteView data) {
    VersionInfo info;
    std::size_t length = 0;
    info.root = ReadNode(data, 0, length);
    if (info.root.value.size() != FIXED_SIZE)
        throw FormatError("version record: no fixed file information");
    ByteReader r({info.root.value.data(), info.root.value.size()});
    FixedFileInfo& f = info.fixed;
    f.signature = r.U32();
    if (f.signature != FIXED_SIGNATURE) throw FormatError("version record: bad signature");
    f.structVersion = r.U32();
    f.fileVersionMS = r.U32();
    f.fileVersionLS = r.U32();
    f.productVersionMS = r.U32();
    f.productVersionLS = r.U32();
    f.fileFlagsMask = r.U32();
    f.fileFlags = r.U32();
    f.fileOS = r.U32();
    f.fileType = r.U32();
    f.fileSubtype = r.U32();
    f.fileDateMS = r.U32();
    f.fileDateLS = r.U32();
    return info;
}

}  // namespace afx::res
