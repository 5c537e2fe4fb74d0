#pragma once
// The program's compiled resources (Marlox.res, embedded) in the user's language, chosen once
// per run so that dialogs and strings never mix languages.

#include <QImage>

#include <cstdint>
#include <optional>
#include <string>

#include "afx/res/DialogTemplate.h"

namespace afx::qt {

std::uint16_t ResourceLanguage();

std::optional<afx::res::DialogTemplate> LoadDialogTemplate(std::uint16_t id);
std::optional<std::string> LoadResourceString(std::uint16_t id);
// The icon group as an image (its first one); null when there is none.
QImage LoadIconImage(std::uint16_t id);

}  // namespace afx::qt
