#include "sys/StandardDescriptors.h"

namespace sys {

// A port opened with CreateFile is a handle, never one of the C runtime's numbered descriptors,
// so a closed standard stream has no number to lend it.
bool ReserveStandardDescriptors() { return true; }

}  // namespace sys
