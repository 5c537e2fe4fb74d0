// marlox-probe's command line (everything but --list): what each form asks for, and which forms
// are usage errors.

#include <gtest/gtest.h>

#include "tools/probe/Options.h"

namespace {

TEST(ProbeOptions, EachFormAndEachUsageError) {
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> ports;
        bool all, json, detail, trace, help, several;
    };
    const Case cases[] = {
        {{"COM3"}, {"COM3"}, false, false, false, false, false, false},
        {{"--json", "/dev/ttyUSB0"}, {"/dev/ttyUSB0"}, false, true, false, false, false, false},
        {{"COM3", "COM1", "COM2"},
         {"COM3", "COM1", "COM2"},
         false,
         false,
         false,
         false,
         false,
         true},
        {{"--all", "--detail", "--trace", "--json"}, {}, true, true, true, true, false, true},
        {{"COM3", "--trace"}, {"COM3"}, false, false, false, true, false, false},
        {{"--help"}, {}, false, false, false, false, true, false},
        {{"COM3", "-h"}, {"COM3"}, false, false, false, false, true, false},
    };
    const std::vector<std::string> usageErrors[] = {
        {},
        {"--json"},                    // no port
        {"--all", "COM3"},             // ports and --all
        {"COM3", "--json", "--json"},  // twice
        {"COM3", "--verbose"},
        {"COM3", "-"},
        {"COM3", ""},
    };
    const auto Typed = [](const std::vector<std::string>& args) {
        std::string typed;
        for (const std::string& arg : args)
            typed += " '" + arg + "'";
        return typed;
    };
    for (const std::vector<std::string>& args : usageErrors)
        EXPECT_EQ(probe::ParseProbeOptions(args), std::nullopt) << Typed(args);
    for (const Case& c : cases) {
        const std::string typed = Typed(c.args);
        const std::optional<probe::ProbeOptions> options = probe::ParseProbeOptions(c.args);
        ASSERT_TRUE(options) << typed;
        EXPECT_EQ(options->ports, c.ports) << typed;
        EXPECT_EQ(options->all, c.all) << typed;
        EXPECT_EQ(options->json, c.json) << typed;
        EXPECT_EQ(options->detail, c.detail) << typed;
        EXPECT_EQ(options->trace, c.trace) << typed;
        EXPECT_EQ(options->help, c.help) << typed;
        EXPECT_EQ(probe::SeveralPorts(*options), c.several) << typed;
    }
}

TEST(ProbeOptions, TheListFormsAndTheFormEachUsageErrorIsMeantAs) {
    using probe::Form;
    struct Case {
        std::vector<std::string> args;
        Form form;
        bool valid, watch;
        std::optional<std::string> root;
    };
    const Case cases[] = {
        {{"--json", "--list"}, Form::List, true, false, std::nullopt},
        {{"--list", "--all"}, Form::List, false, false, std::nullopt},
        {{"--list", "--trace"}, Form::List, false, false, std::nullopt},
        {{"--list", "--root", "--watch"}, Form::Watch, true, false, "--watch"},
        {{"--watch", "--list", "--root=tree"}, Form::Watch, true, true, "tree"},
        {{"--root", "tree"}, Form::Watch, false, false, "tree"},  // no --list
        {{"--list", "--root"}, Form::Watch, false, false, std::nullopt},
        {{"COM3", "--watch"}, Form::Watch, false, true, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::string typed = c.args.front() + " " + c.args.back();
        EXPECT_EQ(probe::FormOf(c.args), c.form) << typed;
        const std::optional<probe::ProbeOptions> options = probe::ParseProbeOptions(c.args);
        ASSERT_EQ(options.has_value(), c.valid) << typed;
        if (!options) continue;
        EXPECT_EQ(options->watch, c.watch) << typed;
        EXPECT_EQ(options->root, c.root) << typed;
    }
}

}  // namespace
