// Linux has no registry: every key fails to open.
#include "sys/Registry.h"

namespace sys {

namespace {

constexpr long FILE_NOT_FOUND = 2;  // ERROR_FILE_NOT_FOUND, what a missing key gives

class EmptyRegistry : public Registry {
public:
    RegistryKey LocalMachine() const override { return nullptr; }
    long OpenKey(RegistryKey, const char*, RegistryKey&) override { return FILE_NOT_FOUND; }
    long EnumKey(RegistryKey, std::uint32_t, char*, std::uint32_t&) override {
        return FILE_NOT_FOUND;
    }
    long QueryValue(RegistryKey, const char*, std::uint8_t*, std::uint32_t&) override {
        return FILE_NOT_FOUND;
    }
    void CloseKey(RegistryKey) override {}
};

}  // namespace

Registry& SystemRegistry() {
    static EmptyRegistry registry;
    return registry;
}

}  // namespace sys
