// UTF-16 (the resource compiler's text) to UTF-8 (the Linux program's text).
#pragma once

#include <string>

namespace afx::res {

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace afx::res
