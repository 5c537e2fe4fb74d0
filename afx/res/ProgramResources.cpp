#include "afx/res/ProgramResources.h"

#include <cstdlib>

#include "afx/res/IconGroup.h"

namespace afx::res {

std::uint16_t LanguageFromLocale(const std::string& localeName) {
    // The language code ends at the territory, code set or modifier.
    std::string language = localeName.substr(0, localeName.find_first_of("_.@"));
    return language == "ja" ? LANG_JAPANESE : LANG_ENGLISH_US;
}

std::uint16_t UserLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return LanguageFromLocale(value);
    }
    return LANG_ENGLISH_US;
}

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

std::optional<DialogTemplate> ProgramResources::Dialog(std::uint16_t id) const {
    const ResourceEntry* entry = m_file.Find(rt::DIALOG, id, m_language);
    if (entry == nullptr) return std::nullopt;
    try {
        return ParseDialogTemplate(entry->data);
    } catch (const FormatError&) {
        return std::nullopt;
    }
}

std::optional<std::string> ProgramResources::String(std::uint16_t id) const {
    try {
        return LoadString(m_file, id, m_language);
    } catch (const FormatError&) {
        return std::nullopt;
    }
}

std::vector<IconResource> ProgramResources::IconImages(std::uint16_t groupId) const {
    std::vector<IconResource> images;
    try {
        const ResourceEntry* group = m_file.Find(rt::GROUP_ICON, groupId, m_language);
        if (group == nullptr) return images;
        for (const IconGroupEntry& entry : ParseIconGroup(group->data).entries) {
            if (const ResourceEntry* image = m_file.Find(rt::ICON, entry.id, m_language))
                images.push_back(IconResource{entry, image->data});
        }
    } catch (const FormatError&) {
        images.clear();
    }
    return images;
}

}  // namespace afx::res
