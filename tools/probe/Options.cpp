#include "tools/probe/Options.h"

namespace probe {

std::optional<ProbeOptions> ParseProbeOptions(const std::vector<std::string>& args) {
    ProbeOptions options;
    const struct {
        const char* name;
        bool ProbeOptions::*flag;
    } FLAGS[] = {
        {"--all", &ProbeOptions::all},       {"--json", &ProbeOptions::json},
        {"--detail", &ProbeOptions::detail}, {"--trace", &ProbeOptions::trace},
        {"--help", &ProbeOptions::help},     {"-h", &ProbeOptions::help},
    };
    for (const std::string& arg : args) {
        bool known = false;
        for (const auto& flag : FLAGS) {
            if (arg != flag.name) continue;
            if (options.*flag.flag) return std::nullopt;  // given twice
            options.*flag.flag = known = true;
        }
        if (known) continue;
        if (arg.empty() || arg[0] == '-') return std::nullopt;
        options.ports.push_back(arg);
    }
    if (options.help) return options;
    if (options.all == !options.ports.empty()) return std::nullopt;  // neither or both
    return options;
}

}  // namespace probe
