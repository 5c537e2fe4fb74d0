#include "fuzz/TreeRegistry.h"

#include <strings.h>

#include <cstring>

#include "fuzz/Check.h"

namespace fuzz {

namespace {

constexpr long SUCCESS = 0;
constexpr long FILE_NOT_FOUND = 2;
constexpr long ACCESS_DENIED = 5;
constexpr long MORE_DATA = 234;
constexpr long NO_MORE_ITEMS = 259;

sys::RegistryKey RootHandle() { return reinterpret_cast<sys::RegistryKey>(0x80000002u); }

}  // namespace

TreeRegistry::TreeRegistry(std::unique_ptr<TreeKey> localMachine)
    : m_root(std::move(localMachine)) {}

sys::RegistryKey TreeRegistry::LocalMachine() const { return RootHandle(); }

const TreeKey& TreeRegistry::Resolve(sys::RegistryKey key) const {
    if (key == RootHandle())
        return *m_root;
    const auto found = m_open.find(key);
    FUZZ_CHECK(found != m_open.end());  // never a closed or made-up handle
    return *found->second;
}

long TreeRegistry::OpenKey(sys::RegistryKey parent, const char* subKey,
                           sys::RegistryKey& opened) {
    FUZZ_CHECK(subKey != nullptr);
    const TreeKey& key = Resolve(parent);
    for (const auto& child : key.subkeys) {
        if (::strcasecmp(child->name.c_str(), subKey) != 0)
            continue;
        if (child->refusesOpen)
            return ACCESS_DENIED;
        opened = reinterpret_cast<sys::RegistryKey>(m_nextHandle++);
        m_open[opened] = child.get();
        return SUCCESS;
    }
    return FILE_NOT_FOUND;
}

long TreeRegistry::EnumKey(sys::RegistryKey key, std::uint32_t index, char* name,
                           std::uint32_t& nameSize) {
    FUZZ_CHECK(name != nullptr && nameSize > 0);
    const TreeKey& parent = Resolve(key);
    if (++m_enumCalls == failEnumCall)
        return ACCESS_DENIED;
    if (index >= parent.subkeys.size())
        return NO_MORE_ITEMS;
    const std::string& subName = parent.subkeys[index]->name;
    if (subName.size() + 1 > nameSize)
        return MORE_DATA;
    std::memcpy(name, subName.c_str(), subName.size() + 1);
    nameSize = static_cast<std::uint32_t>(subName.size());
    return SUCCESS;
}

long TreeRegistry::QueryValue(sys::RegistryKey key, const char* valueName, std::uint8_t* data,
                              std::uint32_t& dataSize) {
    FUZZ_CHECK(valueName != nullptr && data != nullptr);
    const TreeKey& owner = Resolve(key);
    if (++m_queryCalls == failQueryCall)
        return ACCESS_DENIED;
    const auto found = owner.values.find(valueName);
    if (found == owner.values.end())
        return FILE_NOT_FOUND;
    const std::string& bytes = found->second;
    if (bytes.size() > dataSize)
        return MORE_DATA;
    // The rest of the buffer keeps whatever it held: the data need not end with a zero.
    std::memcpy(data, bytes.data(), bytes.size());
    dataSize = static_cast<std::uint32_t>(bytes.size());
    return SUCCESS;
}

void TreeRegistry::CloseKey(sys::RegistryKey key) {
    const auto found = m_open.find(key);
    FUZZ_CHECK(found != m_open.end());  // closed once, and only what was opened
    m_open.erase(found);
}

}  // namespace fuzz
