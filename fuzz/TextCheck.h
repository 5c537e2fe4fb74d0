#pragma once
// What a text shown to the user must be, whatever bytes it was made from.

#include <string>

namespace fuzz {

// Well-formed UTF-8 (no overlong forms, surrogates or code points past U+10FFFF), no control
// characters, no spaces at either end and no two in a row.
bool IsCleanText(const std::string& text);

// Well-formed UTF-8 without control characters; spaces anywhere.
bool IsDisplayableText(const std::string& text);

}  // namespace fuzz
