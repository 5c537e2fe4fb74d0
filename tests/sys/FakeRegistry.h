#pragma once
// A registry tree built by a test or a fuzz target. It counts open keys, logs closes, counts
// misuse (a handle used after its close or never opened), can refuse to open any key and can
// fail any enumeration or value read.

#include "sys/Registry.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fake {

class Registry : public sys::Registry {
public:
    struct Key {
        std::string name;
        std::vector<std::unique_ptr<Key>> subkeys;  // in enumeration order
        std::map<std::string, std::string> values;  // raw data bytes, stored as given
        bool refusesOpen = false;

        Key& Value(const std::string& valueName, const std::string& data);
        // A text value as Windows stores it: the text and its terminating zero.
        Key& Text(const std::string& valueName, const std::string& text);
        Key* Find(const std::string& subName);
    };

    // The key at a backslash-separated path under HKEY_LOCAL_MACHINE, created as needed.
    Key& At(const std::string& path);
    Key& Root() { return m_root; }  // HKEY_LOCAL_MACHINE itself

    sys::RegistryKey LocalMachine() const override;
    long OpenKey(sys::RegistryKey parent, const char* subKey, sys::RegistryKey& opened) override;
    long EnumKey(sys::RegistryKey key, std::uint32_t index, char* name,
                 std::uint32_t& nameSize) override;
    long QueryValue(sys::RegistryKey key, const char* valueName, std::uint8_t* data,
                    std::uint32_t& dataSize) override;
    void CloseKey(sys::RegistryKey key) override;

    std::size_t OpenCount() const { return m_open.size(); }
    int opens = 0;
    int badCloses = 0;
    int badUses = 0;  // calls with a handle that is not open
    // The n-th enumeration or value read (counted from 1) fails; 0 for never.
    std::uint32_t failEnumCall = 0;
    std::uint32_t failQueryCall = 0;
    std::vector<std::string> closed;  // names of closed keys, in order

private:
    Key* Resolve(sys::RegistryKey key);

    Key m_root;
    std::map<sys::RegistryKey, Key*> m_open;
    std::uintptr_t m_nextHandle = 0x1000;
    std::uint32_t m_enumCalls = 0;
    std::uint32_t m_queryCalls = 0;
};

}  // namespace fake
