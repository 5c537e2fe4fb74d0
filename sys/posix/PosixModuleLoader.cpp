#include "sys/posix/PosixModuleLoader.h"

#include "sys/posix/BuiltinSetupApi.h"
#include "sys/posix/LastError.h"

#include <strings.h>

namespace sys::posix {

namespace {

constexpr std::uint32_t MOD_NOT_FOUND = 126;  // ERROR_MOD_NOT_FOUND

bool IsSetupApi(const char* name) {
    return name != nullptr &&
           (::strcasecmp(name, "SETUPAPI") == 0 || ::strcasecmp(name, "SETUPAPI.DLL") == 0);
}

}  // namespace

PosixModuleLoader::PosixModuleLoader(std::string sysRoot, std::string devRoot,
                                     std::vector<SysfsPort> leading)
    : m_sysRoot(std::move(sysRoot)), m_devRoot(std::move(devRoot)), m_leading(std::move(leading)) {}

std::unique_ptr<Module> PosixModuleLoader::Load(const char* name) {
    if (!IsSetupApi(name)) {
        SetLastErrorCode(MOD_NOT_FOUND);
        return nullptr;
    }
    return std::make_unique<BuiltinSetupApi>(SysfsPorts(m_sysRoot, m_devRoot, m_leading));
}

}  // namespace sys::posix

namespace sys {

ModuleLoader& SystemModuleLoader() {
    static posix::PosixModuleLoader loader("/sys", "/dev");
    return loader;
}

}  // namespace sys
