#include "afx/res/StringTable.h"


namespace afx::res {

std::array<std::string, STRINGS_PER_BLOCK> ParseStringBlock(ByteView data) {
    std::array<std::string, STRINGS_PER_BLOCK> strings;
    ByteReader r(data);
    for (std::string& text : strings) {
        std::size_t length = r.U16();
        ByteReader chars(r.Take(length * 2));
        std::u16string utf16;
        utf16.reserve(length);
        for (std::size_t i = 0; i < length; ++i)
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
