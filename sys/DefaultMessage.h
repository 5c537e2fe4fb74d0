#pragma once
// The platform's own message, shown while the application has installed none.

#include <string>

namespace sys {

void ShowDefaultMessage(const std::string& text);

}  // namespace sys
