#pragma once
// A modal message with an OK button, shown by code that has no user interface of its own.
// The application framework installs its own box at start, captioned with the program's name.

#include <functional>
#include <string>

namespace sys {

using MessageHandler = std::function<void(const std::string& text)>;

// Returns when the user has closed the message.
void ShowMessage(const std::string& text);

// Replaces the handler; an empty handler restores the platform default (Windows: a message
// box captioned with the program's file name; Linux: a line on stderr).
void SetMessageHandler(MessageHandler handler);

}  // namespace sys
