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

// One RESOURCEHEADER (its size counting the two sizes before the rest) and its data, then the
// padding to the next DWORD boundary.
ResourceEntry ReadRecord(ByteReader& file) {
    const std::uint32_t dataSize = file.U32();
    const std::uint32_t headerSize = file.U32();
    if (headerSize < 8) throw FormatError("resource header too short");
    ByteReader r(file.Take(headerSize - 8));
    ResourceEntry entry;
    entry.type = r.ReadSzOrOrd();
    entry.name = r.ReadSzOrOrd();
    r.AlignTo4();
    r.Skip(4);  // data version
    entry.memoryFlags = r.U16();
    entry.language = r.U16();
    r.Skip(8);  // version and characteristics
    entry.data = file.Take(dataSize);
    file.AlignTo4();
    return entry;
}

}  // namespace

ResFile::ResFile(const std::uint8_t* bytes, std::size_t size) {
    if (bytes == nullptr || size == 0) throw FormatError("empty resource file");
    m_bytes.assign(bytes, bytes + size);
    ByteReader file({m_bytes.data(), m_bytes.size()});
    const ResourceEntry marker = ReadRecord(file);
    if (marker.data.size != 0 || !IsOrdinal(marker.type, 0) || !IsOrdinal(marker.name, 0))
        throw FormatError("not a 32-bit resource file");
    while (file.Remaining() > 0)
        m_entries.push_back(ReadRecord(file));
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
    for (std::uint16_t candidate : order)
        if (const ResourceEntry* entry = FindExact(type, id, candidate)) return entry;
    for (const ResourceEntry& entry : m_entries)
        if (IsOrdinal(entry.type, type) && IsOrdinal(entry.name, id)) return &entry;
    return nullptr;
}

}  // namespace afx::res
