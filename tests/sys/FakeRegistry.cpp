#include "tests/sys/FakeRegistry.h"

#include <strings.h>

#include <cstring>

namespace fake {

namespace {

constexpr long SUCCESS = 0;
constexpr long FILE_NOT_FOUND = 2;
constexpr long ACCESS_DENIED = 5;
constexpr long INVALID_HANDLE = 6;
constexpr long MORE_DATA = 234;
constexpr long NO_MORE_ITEMS = 259;

sys::RegistryKey RootHandle() { return reinterpret_cast<sys::RegistryKey>(0x80000002u); }

}  // namespace

Registry::Key& Registry::Key::Value(const std::string& valueName, const std::string& data) {
    values[valueName] = data;
    return *this;
}

Registry::Key& Registry::Key::Text(const std::string& valueName, const std::string& text) {
    return Value(valueName, text + std::string(1, '\0'));
}

// Key names compare without regard to case, as in the real registry.
Registry::Key* Registry::Key::Find(const std::string& subName) {
    for (auto& subkey : subkeys)
        if (::strcasecmp(subkey->name.c_str(), subName.c_str()) == 0) return subkey.get();
    return nullptr;
}

Registry::Key& Registry::At(const std::string& path) {
    Key* key = &m_root;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        const std::string part = path.substr(start, end - start);
        Key* next = key->Find(part);
        if (next == nullptr) {
            key->subkeys.push_back(std::make_unique<Key>());
            next = key->subkeys.back().get();
            next->name = part;
        }
        key = next;
        start = end + 1;
    }
    return *key;
}

sys::RegistryKey Registry::LocalMachine() const { return RootHandle(); }

Registry::Key* Registry::Resolve(sys::RegistryKey key) {
    if (key == RootHandle()) return &m_root;
    const auto found = m_open.find(key);
    if (found == m_open.end()) {
        ++badUses;
        return nullptr;
    }
    return found->second;
}

long Registry::OpenKey(sys::RegistryKey parent, const char* subKey, sys::RegistryKey& opened) {
    Key* key = Resolve(parent);
    if (key == nullptr) return INVALID_HANDLE;
    Key* child = key->Find(subKey);
    if (child == nullptr) return FILE_NOT_FOUND;
    if (child->refusesOpen) return ACCESS_DENIED;
    opened = reinterpret_cast<sys::RegistryKey>(m_nextHandle++);
    m_open[opened] = child;
    ++opens;
    return SUCCESS;
}

long Registry::EnumKey(sys::RegistryKey key, std::uint32_t index, char* name,
                       std::uint32_t& nameSize) {
    Key* parent = Resolve(key);
    if (parent == nullptr) return INVALID_HANDLE;
    if (++m_enumCalls == failEnumCall) return ACCESS_DENIED;
    if (index >= parent->subkeys.size()) return NO_MORE_ITEMS;
    const std::string& subName = parent->subkeys[index]->name;
    if (subName.size() + 1 > nameSize) return MORE_DATA;
    std::memset(name, 'X', nameSize);
    std::memcpy(name, subName.c_str(), subName.size() + 1);
    nameSize = static_cast<std::uint32_t>(subName.size());
    return SUCCESS;
}

long Registry::QueryValue(sys::RegistryKey key, const char* valueName, std::uint8_t* data,
                          std::uint32_t& dataSize) {
    Key* owner = Resolve(key);
    if (owner == nullptr) return INVALID_HANDLE;
    if (++m_queryCalls == failQueryCall) return ACCESS_DENIED;
    const auto found = owner->values.find(valueName);
    if (found == owner->values.end()) return FILE_NOT_FOUND;
    const std::string& bytes = found->second;
    if (bytes.size() > dataSize) return MORE_DATA;
    // Whatever the buffer held before stays behind the data.
    std::memset(data, 'X', dataSize);
    std::memcpy(data, bytes.data(), bytes.size());
    dataSize = static_cast<std::uint32_t>(bytes.size());
    return SUCCESS;
}

void Registry::CloseKey(sys::RegistryKey key) {
    const auto found = m_open.find(key);
    if (found == m_open.end()) {
        ++badCloses;
        return;
    }
    closed.push_back(found->second->name);
    m_open.erase(found);
}

}  // namespace fake
