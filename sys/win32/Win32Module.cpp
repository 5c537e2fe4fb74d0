// Libraries through LoadLibraryA, GetProcAddress and FreeLibrary.
#include "sys/Module.h"

#include <windows.h>

namespace sys {

namespace {

class Win32Module : public Module {
public:
    explicit Win32Module(HMODULE handle) : m_handle(handle) {}
    ~Win32Module() override { ::FreeLibrary(m_handle); }
    Win32Module(const Win32Module&) = delete;
    Win32Module& operator=(const Win32Module&) = delete;

    EntryPoint Find(const char* name) const override {
        return reinterpret_cast<EntryPoint>(::GetProcAddress(m_handle, name));
    }

private:
    HMODULE m_handle;
};

class Win32ModuleLoader : public ModuleLoader {
public:
    std::unique_ptr<Module> Load(const char* name) override {
        const HMODULE handle = ::LoadLibraryA(name);
        if (handle == nullptr) return nullptr;
        return std::make_unique<Win32Module>(handle);
    }
};

}  // namespace

ModuleLoader& SystemModuleLoader() {
    static Win32ModuleLoader loader;
    return loader;
}

}  // namespace sys
