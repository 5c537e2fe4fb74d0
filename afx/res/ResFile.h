// The compiled resources in the 32-bit .res format, looked up by type, id and language
// the way the Windows resource loader does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "afx/res/ByteView.h"

namespace afx::res {

// Resource type ordinals.
namespace rt {
constexpr std::uint16_t ICON = 3;
constexpr std::uint16_t DIALOG = 5;
constexpr std::uint16_t STRING = 6;
constexpr std::uint16_t GROUP_ICON = 14;
constexpr std::uint16_t VERSION = 16;
}  // namespace rt

// Language ids (primary language in the low 10 bits, sublanguage above).
constexpr std::uint16_t LANG_NEUTRAL = 0x0000;
constexpr std::uint16_t LANG_ENGLISH_US = 0x0409;
constexpr std::uint16_t LANG_JAPANESE = 0x0411;

struct ResourceEntry {
    SzOrOrd type;
    SzOrOrd name;
    std::uint16_t language = 0;
    std::uint16_t memoryFlags = 0;
    ByteView data;  // into the ResFile's own copy of the bytes
};

class ResFile {
public:
    // Copies the bytes. Throws FormatError unless they are a well-formed 32-bit .res
    // (starting with the empty record that marks that format).
    ResFile(const std::uint8_t* bytes, std::size_t size);

    // Entries point into the owned buffer: moving keeps them valid, copying would not (and is
    // not declared, so it is deleted).
    ResFile(ResFile&&) = default;
    ResFile& operator=(ResFile&&) = default;

    // Every resource in file order, without the leading empty record.
    const std::vector<ResourceEntry>& Entries() const { return m_entries; }

    const ResourceEntry* FindExact(std::uint16_t type, std::uint16_t id,
                                   std::uint16_t language) const;

    // The loader's fall-back order: the language itself, its primary language (neutral,
    // then default sublanguage), language-neutral, English (US, then neutral), and at
    // last any language. nullptr if no resource has that type and id.
    const ResourceEntry* Find(std::uint16_t type, std::uint16_t id, std::uint16_t language) const;

private:
    std::vector<std::uint8_t> m_bytes;
    std::vector<ResourceEntry> m_entries;
};

}  // namespace afx::res
