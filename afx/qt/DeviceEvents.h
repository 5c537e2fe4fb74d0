#pragma once
// Where the Qt back end's device watches read the kernel's tty events from.

#include <functional>

#include "sys/posix/Uevents.h"

namespace afx::qt {

// Each new watch opens its events with open (the default opens the kernel's; tests hand in a
// socket they write to). Empty: the default again.
void SetUeventOpener(std::function<sys::posix::UeventSocket()> open);

}  // namespace afx::qt
