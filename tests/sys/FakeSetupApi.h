#pragma once
// A setup API that answers from a scripted list of interfaces, can fail at any step and
// records what was loaded, called and released, in order.

#include "sys/Module.h"
#include "sys/SetupApi.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fake {

// The last error the fakes leave, as GetLastError would report it.
std::uint32_t& LastError();

struct Interface {
    std::string devicePath;
    std::optional<std::string> friendlyName;
    std::optional<std::string> description;
    std::optional<std::string> location;
};

struct StepFailure {
    std::uint32_t index;  // member index it happens at
    std::uint32_t code;
};

// One at a time: its entry points are plain functions, so they reach the live instance.
class SetupApi : public sys::ModuleLoader {
public:
    SetupApi();
    ~SetupApi() override;
    SetupApi(const SetupApi&) = delete;
    SetupApi& operator=(const SetupApi&) = delete;

    std::unique_ptr<sys::Module> Load(const char* name) override;

    // The script.
    std::vector<Interface> interfaces;
    bool loads = true;
    std::string missingEntryPoint;
    std::optional<std::uint32_t> classQueryError;
    std::optional<StepFailure> enumFailure;
    std::optional<StepFailure> detailFailure;

    // What happened: "load SETUPAPI", "class query", "destroy", "free", plus every lookup
    // as "find <name>".
    std::vector<std::string> events;
    std::vector<std::string> EventsWithoutLookups() const;
    int Count(const std::string& event) const;
    // Arguments of the class query and the detail buffer size, as passed.
    std::uint32_t classQueryFlags = 0;
    bool classQueryArgumentsOk = false;
    std::uint32_t detailSize = 0;

    static SetupApi* current;
};

}  // namespace fake
