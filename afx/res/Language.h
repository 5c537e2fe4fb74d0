// The user's resource language: Japanese (1041) for a Japanese user, English (1033) otherwise.
#pragma once

#include <cstdint>
#include <string>

namespace afx::res {

// From a POSIX locale name such as "ja_JP.UTF-8", "ja", "en_US.UTF-8" or "C".
std::uint16_t LanguageFromLocale(const std::string& localeName);

// From the environment in setlocale's order for messages: LC_ALL, LC_MESSAGES, LANG
// (the first one set and not empty).
std::uint16_t UserLanguage();

}  // namespace afx::res
