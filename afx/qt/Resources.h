#pragma once
// The program's compiled resources (Marlox.res, embedded) in the user's language, chosen once
// per run so that dialogs and strings never mix languages.

#include "afx/res/ProgramResources.h"

namespace afx::qt {

const afx::res::ProgramResources& Resources();
std::uint16_t ResourceLanguage();

}  // namespace afx::qt
