// Without a window system to ask, the message goes to stderr.
#include "sys/DefaultMessage.h"

#include <cstdio>

namespace sys {

void ShowDefaultMessage(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

}  // namespace sys
