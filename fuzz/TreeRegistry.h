#pragma once
// A registry tree for the fuzzer. It behaves as the real registry does at its edges (names of
// 128 characters or more and values over the buffer do not fit, key names match without
// regard to case) and can fail any enumeration or value read on request. It checks how it is
// used: a handle used after its close, or closed twice, aborts the run.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sys/Registry.h"

namespace fuzz {

struct TreeKey {
    std::string name;
    bool refusesOpen = false;
    std::vector<std::unique_ptr<TreeKey>> subkeys;  // in enumeration order
    std::map<std::string, std::string> values;      // raw data, as stored
};

class TreeRegistry final : public sys::Registry {
public:
    explicit TreeRegistry(std::unique_ptr<TreeKey> localMachine);

    // The n-th enumeration or value read (counted from 1) fails; 0 for never.
    std::uint32_t failEnumCall = 0;
    std::uint32_t failQueryCall = 0;

    sys::RegistryKey LocalMachine() const override;
    long OpenKey(sys::RegistryKey parent, const char* subKey, sys::RegistryKey& opened) override;
    long EnumKey(sys::RegistryKey key, std::uint32_t index, char* name,
                 std::uint32_t& nameSize) override;
    long QueryValue(sys::RegistryKey key, const char* valueName, std::uint8_t* data,
                    std::uint32_t& dataSize) override;
    void CloseKey(sys::RegistryKey key) override;

    std::size_t OpenCount() const { return m_open.size(); }

private:
    const TreeKey& Resolve(sys::RegistryKey key) const;

    std::unique_ptr<TreeKey> m_root;
    std::map<sys::RegistryKey, const TreeKey*> m_open;
    std::uintptr_t m_nextHandle = 0x1000;
    std::uint32_t m_enumCalls = 0;
    std::uint32_t m_queryCalls = 0;
};

}  // namespace fuzz
