#pragma once
// The registry operations that port discovery walks the hardware tree with.

#include <cstdint>

namespace sys {

// An open key, or a predefined root. Opaque: only the registry that produced it uses it.
using RegistryKey = void*;

// Status codes are the registry's own: 0 is success, anything else a failure.
class Registry {
public:
    virtual ~Registry() = default;

    virtual RegistryKey LocalMachine() const = 0;
    // Opens subKey under parent for reading.
    virtual long OpenKey(RegistryKey parent, const char* subKey, RegistryKey& opened) = 0;
    // Writes the name of the subkey at index into name (nameSize bytes, terminating zero
    // included); on success nameSize becomes the name's length without the zero.
    virtual long EnumKey(RegistryKey key, std::uint32_t index, char* name,
                         std::uint32_t& nameSize) = 0;
    // Reads a value's data into data (dataSize bytes); on success dataSize becomes the count
    // of bytes written. The data need not end with a zero byte.
    virtual long QueryValue(RegistryKey key, const char* valueName, std::uint8_t* data,
                            std::uint32_t& dataSize) = 0;
    virtual void CloseKey(RegistryKey key) = 0;
};

// Windows' registry. Other platforms have none: they keep a port inventory.
Registry& SystemRegistry();

}  // namespace sys
