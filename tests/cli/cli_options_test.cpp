#include <gtest/gtest.h>

#include <tuple>

#include "cli/cli_options.h"

namespace {

using Words = std::vector<std::string>;

} // namespace

TEST(CliOptions, ReadsEveryCommandWithItsOptions) {
    struct Case {
        Words args;
        CliCommand command;
        std::string file;
        bool dryRun, calibration;
        int count;
        int16_t port;
    };
    using enum CliCommand;
    const Case cases[] = {
        {{"scan"}, Scan, "", false, false, 0, 0},
        {{"--port", "128", "status"}, Status, "", false, false, 0, 128},
        {{"monitor", "--count", "5"}, Monitor, "", false, false, 5, 0},
        {{"params", "save", "a.txt", "--calibration"}, Save, "a.txt", false, true, 0, 0},
        {{"params", "diff", "-"}, Diff, "-", false, false, 0, 0},
        {{"params", "restore", "a b.txt", "--dry-run"}, Restore, "a b.txt", true, false, 0, 0},
        {{"params", "restore", "x", "--help"}, Help, "", false, false, 0, 0},
        {{"-v"}, Version, "", false, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        const CliParse parse = parseCliOptions(c.args);
        ASSERT_TRUE(parse.options) << parse.error;
        const CliOptions& o = *parse.options;
        EXPECT_EQ(std::tie(o.command, o.file, o.dryRun, o.calibration, o.count, o.port),
                  std::tie(c.command, c.file, c.dryRun, c.calibration, c.count, c.port));
    }
}

TEST(CliOptions, RefusesABadCommandLineWithOneLine) {
    const std::pair<Words, std::string> cases[] = {
        {{}, "no command given"},
        {{"paramz", "save", "a"}, "unknown command \"paramz\""},
        {{"params", "save"}, "params takes save, diff or restore and a FILE"},
        {{"params", "load", "a"}, "params takes save, diff or restore, not \"load\""},
        {{"scan", "now"}, "scan takes no further words"},
        {{"--port", "0", "scan"}, "--port takes a COM number from 1 to 128, not \"0\""},
        {{"--port", "3x", "scan"}, "--port takes a COM number from 1 to 128, not \"3x\""},
        {{"scan", "--trace"}, "--trace needs a value"},
        {{"monitor", "--count", "0"}, "--count takes a number of rows from 1 on, not \"0\""},
        {{"params", "diff", "a", "--dry-run"}, "--dry-run goes with params restore only"},
        {{"status", "--calibration"}, "--calibration goes with params only"},
        {{"status", "--count", "2"}, "--count goes with monitor only"},
        {{"scan", "--fast"}, "unknown option --fast"},
    };
    for (const auto& [args, error] : cases) {
        SCOPED_TRACE(error);
        const CliParse parse = parseCliOptions(args);
        EXPECT_FALSE(parse.options);
        EXPECT_EQ(parse.error, error);
    }
}
