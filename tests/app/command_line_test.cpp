#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/linux_help.h"

TEST(CommandLine, TakesTheDiagnosticsAndRefusesWhatItCannotUse) {
    const std::string bad = "kelvara: ";
    struct Case {
        std::vector<std::string> arguments;
        int status; // -1: the program runs
        std::string answerStart, trace, record;
        int16_t port;
    };
    const Case cases[] = {
        {{}, -1, "", "", "", 0},
        {{"--trace", "t ü", "--record=r.csv", "--port", "128"}, -1, "", "t ü", "r.csv", 128},
        {{"--port=1", "--trace=a=b"}, -1, "", "a=b", "", 1},
        {{"--port", "0"}, 2, bad + "--port takes a COM number from 1 to 128, not '0'", "", "", 0},
        {{"--port", "9x"}, 2, bad + "--port takes", "", "", 0},
        {{"--trace"}, 2, bad + "missing value after '--trace'", "", "", 0},
        {{"--record="}, 2, bad + "missing value after '--record'", "", "", 0},
        {{"-platform", "offscreen"}, 2, bad + "unknown option '-platform'", "", "", 0},
        {{"COM3"}, 2, bad + "unexpected argument 'COM3'", "", "", 0},
        {{"--help=1"}, 2, bad + "'--help' takes no value", "", "", 0},
        {{"--port", "3", "-h"}, 0, "Usage: kelvara [OPTION]...", "", "", 0},
        {{"--version"}, 0, "kelvara ", "", "", 0}};
    for (const auto& [arguments, status, answerStart, trace, record, port] : cases) {
        SCOPED_TRACE(answerStart);
        const CommandLine line = parseCommandLine(arguments, kLinuxHelp);
        EXPECT_EQ(line.exitStatus.value_or(-1), status);
        EXPECT_EQ(line.answer.substr(0, answerStart.size()), answerStart);
        EXPECT_EQ(line.tracePath, trace);
        EXPECT_EQ(line.recordPath, record);
        EXPECT_EQ(line.port, port);
    }
}
