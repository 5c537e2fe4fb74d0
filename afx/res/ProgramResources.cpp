#include "afx/res/ProgramResources.h"

#include <cstdlib>

#include "afx/res/IconGroup.h"
#include "afx/res/StringTable.h"

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
