#pragma once
// The program's compiled resources in the user's language, chosen once per run so that dialogs
// and strings never mix languages.

#include <cstddef>

#include "afx/res/ProgramResources.h"

namespace afx::qt {

// The program hands its compiled resources (a 32-bit .res, valid for the whole run) to the
// framework once, before its first dialog.
void UseProgramResources(const unsigned char* bytes, std::size_t size);

// A std::logic_error when the program has handed over none.
const afx::res::ProgramResources& Resources();
std::uint16_t ResourceLanguage();

}  // namespace afx::qt
