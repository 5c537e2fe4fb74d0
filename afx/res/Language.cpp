#include "afx/res/Language.h"

#include <cstdlib>

#include "afx/res/ResFile.h"

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

}  // namespace afx::res
