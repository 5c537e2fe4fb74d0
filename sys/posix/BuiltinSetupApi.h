#pragma once
// The "SETUPAPI" library as Linux provides it: the COM-port interface class lists the serial
// ports that sysfs shows, through the same entry points and records as on Windows.

#include "sys/Module.h"
#include "sys/posix/SysfsPorts.h"

namespace sys::posix {

// While loaded, its entry points answer from these roots. Like the real library it is
// process-wide: the most recently loaded instance answers until it is released.
class BuiltinSetupApi : public Module {
public:
    explicit BuiltinSetupApi(SysfsPorts ports);
    ~BuiltinSetupApi() override;
    BuiltinSetupApi(const BuiltinSetupApi&) = delete;
    BuiltinSetupApi& operator=(const BuiltinSetupApi&) = delete;

    EntryPoint Find(const char* name) const override;
    const SysfsPorts& Ports() const { return m_ports; }

private:
    SysfsPorts m_ports;
    const BuiltinSetupApi* m_previous;
};

}  // namespace sys::posix
