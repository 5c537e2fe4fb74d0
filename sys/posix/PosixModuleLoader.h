#pragma once
// Linux loads no Windows libraries; it knows one by name, the built-in "SETUPAPI".

#include "sys/Module.h"

#include <string>

namespace sys::posix {

class PosixModuleLoader : public ModuleLoader {
public:
    PosixModuleLoader(std::string sysRoot, std::string devRoot);

    // "SETUPAPI" (any case, ".DLL" optional) gives the built-in setup API; anything else fails.
    std::unique_ptr<Module> Load(const char* name) override;

private:
    std::string m_sysRoot;
    std::string m_devRoot;
};

}  // namespace sys::posix
