#pragma once
// Libraries loaded by name at run time, and their entry points looked up by name.

#include <memory>

namespace sys {

// An entry point as found; the caller casts it to the entry point's real type before calling.
// void (*)() is the one function-pointer type that converts to any other without a warning.
using EntryPoint = void (*)();

// One loaded library. Destroying the object releases the library.
class Module {
public:
    virtual ~Module() = default;

    // nullptr when the library has no entry point of that name.
    virtual EntryPoint Find(const char* name) const = 0;
};

class ModuleLoader {
public:
    virtual ~ModuleLoader() = default;

    // nullptr when the library does not load.
    virtual std::unique_ptr<Module> Load(const char* name) = 0;
};

// Windows' loader (LoadLibraryA). Other platforms have none: they keep a port inventory.
ModuleLoader& SystemModuleLoader();

}  // namespace sys
