#include "afx/res/StringTable.h"


namespace afx::res {

std::array<std::string, STRINGS_PER_BLOCK> ParseStringBlock(ByteView data) {
    std::array<std::string, STRINGS_PER_BLOCK> strings;
    ByteReader r(data);
    for (std::string& text : strings) {
        ByteReader chars(r.Take(std::size_t{r.U16()} * 2));  // a count of UTF-16 units
        std::u16string utf16;
        while (chars.Remaining() > 0)
            utf16.push_back(static_cast<char16_t>(chars.U16()));
        text = Utf16ToUtf8(utf16);
    }
    return strings;
}

std::optional<std::string> LoadString(const ResFile& file, std::uint16_t id,
                                      std::uint16_t language) {
    const std::uint16_t block = static_cast<std::uint16_t>(id / STRINGS_PER_BLOCK + 1);
    const ResourceEntry* entry = file.Find(rt::STRING, block, language);
    if (entry == nullptr) return std::nullopt;
    std::string text = ParseStringBlock(entry->data)[id % STRINGS_PER_BLOCK];
    if (text.empty()) return std::nullopt;
    return text;
}

}  // namespace afx::res
