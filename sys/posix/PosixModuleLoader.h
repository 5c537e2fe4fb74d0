#pragma once
// Linux loads no Windows libraries; it knows one by name, the built-in "SETUPAPI".

#include "sys/Module.h"
#include "sys/posix/SysfsPorts.h"

#include <string>
#include <vector>

namespace sys::posix {

class PosixModuleLoader : public ModuleLoader {
public:
    // leading: ports the setup API lists before the machine's (see SysfsPorts).
    PosixModuleLoader(std::string sysRoot, std::string devRoot, std::vector<SysfsPort> leading = {});

    // "SETUPAPI" (any case, ".DLL" optional) gives the built-in setup API; anything else fails.
    std::unique_ptr<Module> Load(const char* name) override;

private:
    std::string m_sysRoot;
    std::string m_devRoot;
    std::vector<SysfsPort> m_leading;
};

}  // namespace sys::posix
