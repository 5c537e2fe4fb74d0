// The registry through advapi32, read-only.
#include "sys/Registry.h"

#include <windows.h>

namespace sys {

namespace {

HKEY ToHkey(RegistryKey key) { return static_cast<HKEY>(key); }

class Win32Registry : public Registry {
public:
    RegistryKey LocalMachine() const override { return HKEY_LOCAL_MACHINE; }

    long OpenKey(RegistryKey parent, const char* subKey, RegistryKey& opened) override {
        HKEY key = nullptr;
        const LONG status = ::RegOpenKeyExA(ToHkey(parent), subKey, 0, KEY_READ, &key);
        if (status == ERROR_SUCCESS) opened = key;
        return status;
    }

    long EnumKey(RegistryKey key, std::uint32_t index, char* name,
                 std::uint32_t& nameSize) override {
        DWORD size = nameSize;
        const LONG status =
            ::RegEnumKeyExA(ToHkey(key), index, name, &size, nullptr, nullptr, nullptr, nullptr);
        nameSize = size;
        return status;
    }

    long QueryValue(RegistryKey key, const char* valueName, std::uint8_t* data,
                    std::uint32_t& dataSize) override {
        DWORD size = dataSize;
        const LONG status =
            ::RegQueryValueExA(ToHkey(key), valueName, nullptr, nullptr, data, &size);
        dataSize = size;
        return status;
    }

    void CloseKey(RegistryKey key) override { ::RegCloseKey(ToHkey(key)); }
};

}  // namespace

Registry& SystemRegistry() {
    static Win32Registry registry;
    return registry;
}

}  // namespace sys
