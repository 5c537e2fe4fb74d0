#pragma once
// The program's own resources in one language, as the window system's loaders hand them out:
// a resource that is missing or malformed is simply not there.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "afx/res/DialogTemplate.h"
#include "afx/res/IconGroup.h"
#include "afx/res/ResFile.h"

namespace afx::res {

// The user's resource language: Japanese (1041) for a Japanese user, English (1033) otherwise,
// from a POSIX locale name such as "ja_JP.UTF-8", "ja", "en_US.UTF-8" or "C".
std::uint16_t LanguageFromLocale(const std::string& localeName);
// From the environment in setlocale's order for messages: LC_ALL, LC_MESSAGES, LANG (the first
// one set and not empty).
std::uint16_t UserLanguage();

// String resources: blocks of 16 counted UTF-16 strings, block id/16 + 1 holding id.
constexpr std::size_t STRINGS_PER_BLOCK = 16;

// The 16 strings of one RT_STRING block, UTF-8. Throws FormatError on truncated data.
std::array<std::string, STRINGS_PER_BLOCK> ParseStringBlock(ByteView data);

// The string with this id in the best-matching language, UTF-8; nullopt when there is none
// (an empty string counts as none, as for the platform's LoadString).
std::optional<std::string> LoadString(const ResFile& file, std::uint16_t id,
                                      std::uint16_t language);

// One image of an icon group: its entry in the group and its bytes (a bitmap or a PNG), which
// lie in the resource file.
struct IconResource {
    IconGroupEntry entry;
    ByteView data;
};

class ProgramResources {
public:
    // file must outlive this object.
    ProgramResources(const ResFile& file, std::uint16_t language)
        : m_file(file), m_language(language) {}

    std::uint16_t Language() const { return m_language; }
    std::optional<DialogTemplate> Dialog(std::uint16_t id) const;
    std::optional<std::string> String(std::uint16_t id) const;
    // Every image of the group, in the group's order; empty when there is no such group or it is
    // malformed. An image the group names but the file lacks is left out.
    std::vector<IconResource> IconImages(std::uint16_t groupId) const;

private:
    const ResFile& m_file;
    std::uint16_t m_language;
};

}  // namespace afx::res
