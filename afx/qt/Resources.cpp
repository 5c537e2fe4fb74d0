#include "afx/qt/Resources.h"

#include <QByteArray>

#include "afx/res/IconGroup.h"
#include "afx/res/Language.h"
#include "afx/res/ResFile.h"
#include "afx/res/StringTable.h"
#include "res/MarloxResources.h"

namespace afx::qt {

namespace {

const afx::res::ResFile& Resources()
{
    static const afx::res::ResFile file = [] {
        const auto [bytes, size] = MarloxResources();
        return afx::res::ResFile(bytes, size);
    }();
    return file;
}

}  // namespace

std::uint16_t ResourceLanguage()
{
    static const std::uint16_t language = afx::res::UserLanguage();
    return language;
}

std::optional<afx::res::DialogTemplate> LoadDialogTemplate(std::uint16_t id)
{
    const afx::res::ResourceEntry* entry =
        Resources().Find(afx::res::rt::kDialog, id, ResourceLanguage());
    if (entry == nullptr)
        return std::nullopt;
    try {
        return afx::res::ParseDialogTemplate(entry->data);
    } catch (const afx::res::FormatError&) {
        return std::nullopt;
    }
}

std::optional<std::string> LoadResourceString(std::uint16_t id)
{
    try {
        return afx::res::LoadString(Resources(), id, ResourceLanguage());
    } catch (const afx::res::FormatError&) {
        return std::nullopt;
    }
}

QImage LoadIconImage(std::uint16_t id)
{
    std::vector<std::uint8_t> ico;
    try {
        ico = afx::res::BuildIcoFile(Resources(), id, ResourceLanguage());
    } catch (const afx::res::FormatError&) {
        return {};
    }
    if (ico.empty())
        return {};
    const QByteArray bytes(reinterpret_cast<const char*>(ico.data()), static_cast<int>(ico.size()));
    return QImage::fromData(bytes, "ICO");
}

}  // namespace afx::qt
