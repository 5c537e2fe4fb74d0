#include "sys/MessageBox.h"

#include "sys/DefaultMessage.h"

#include <utility>

namespace sys {

namespace {

MessageHandler& InstalledHandler() {
    static MessageHandler handler;
    return handler;
}

}  // namespace

void ShowMessage(const std::string& text) {
    const MessageHandler& handler = InstalledHandler();
    if (handler)
        handler(text);
    else
        ShowDefaultMessage(text);
}

void SetMessageHandler(MessageHandler handler) { InstalledHandler() = std::move(handler); }

}  // namespace sys
