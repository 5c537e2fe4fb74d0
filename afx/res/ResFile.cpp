#include "afx/res/ResFile.h"

namespace afx::res {
namespace {

constexpr std::uint16_t SUB_NEUTRAL = 0x00;
constexpr std::uint16_t SUB_DEFAULT = 0x01;

std::uint16_t MakeLang(std::uint16_t primary, std::uint16_t sub) {
    return static_cast<std::uint16_t>(sub << 10 | primary);
}
std::uint16_t Primary(std::uint16_t language) { return language & 0x3FF; }

bool IsOrdinal(const SzOrOrd& id, std::uint16_t ordinal) {
    return id.isOrdinal && id.ordinal == ordinal;
}

std::size_t AlignUp4(std::size_t offset) { return (offset + 3) & ~static_cast<std::size_t>(3); }

// One RESOURCEHEADER and its data, starting at a DWORD boundary.
ResourceEntry ReadRecord(ByteView file, std::size_t offset, std::size_t& next) {
    ByteReader sizes(file.Sub(offset, 8));
    std::uint32_t dataSize = sizes.U32();
    std::uint32_t headerSize = sizes.U32();
    ByteView header = file.Sub(offset, headerSize);
    ByteReader r(header);
    r.Skip(8);
    ResourceEntry entry;
    entry.type = r.ReadSzOrOrd();
    entry.name = r.ReadSzOrOrd();
    r.AlignTo4();
    r.Skip(4);  // data version
    entry.memoryFlags = r.U16();
    entry.language = r.U16();
    r.Skip(8);  // version and characteristics
    entry.data = file.Sub(offset + headerSize, dataSize);
    next = AlignUp4(offset + headerSize + dataSize);
    return entry;
}

}  // namespace

ResFile::ResFile(const std::uint8_t* bytes, std::size_t size) {
    if (bytes == nullptr || size == 0) throw FormatError("empty resource file");
    m_bytes.assign(bytes, bytes + size);
    ByteView file{m_bytes.data(), m_bytes.size()};

    std::size_t offset = 0;
    ResourceEntry marker = ReadRecord(file, 0, offset);
    if (marker.data.size != 0 || !IsOrdinal(marker.type, 0) || !IsOrdinal(marker.name, 0))
        throw FormatError("not a 32-bit resource file");
    while (offset < file.size)
        m_entries.push_back(ReadRecord(file, offset, offset));
}

const ResourceEntry* ResFile::FindExact(std::uint16_t type, std::uint16_t id,
                                        std::uint16_t language) const {
    for (const ResourceEntry& entry : m_entries) {
        if (IsOrdinal(entry.type, type) && IsOrdinal(entry.name, id) && entry.language == language)
            return &entry;
    }
    return nullptr;
}

const ResourceEntry* ResFile::Find(std::uint16_t type, std::uint16_t id,
                                   std::uint16_t language) const {
    const std::uint16_t order[] = {
        language,
        MakeLang(Primary(language), SUB_NEUTRAL),
        MakeLang(Primary(language), SUB_DEFAULT),
        LANG_NEUTRAL,
        LANG_ENGLISH_US,
        MakeLang(Primary(LANG_ENGLISH_US), SUB_NEUTRAL),
    };
    for (std::uint16_t candidate : order) {
        if (const ResourceEntry* entry = FindExact(type, id, candidate)) return entry;
    }
    for (const ResourceEntry& entry : m_entries) {
        if (IsOrdinal(entry.type, type) && IsOrdinal(entry.name, id)) return &entry;
    }
    return nullptr;
}

}  // namespace afx::res
