#include "sim/control_commands.h"

#include <gtest/gtest.h>

namespace {

class ControlCommands : public ::testing::Test {
protected:
    ControlCommands() { state.controller.setNoise(0); }

    SimState state{5};
};

TEST_F(ControlCommands, CountsAndFlagsReachTheReplies) {
    struct Case {
        const char* line;
        const char* command;
        const char* reply;
    };
    const Case cases[] = {
        {"counts 1 2 3", "S1", "S0001,0002,0003;"},
        {"counts - 9999 -", "S1", "S0512,9999,0000;"},
        {"flags 1010101010101", "E", "E1,0,1,0,1,0,1,0,1,0,1,0,1;"},
        {"flag 1 1", "E", "E1,1,1,0,1,0,1,0,1,0,1,0,1;"},
        {"flag 12 0", "E", "E1,1,1,0,1,0,1,0,1,0,1,0,0;"},
        {"out-of-range on", "E", "E7,7,7,7,7,7,7,7,7,7,7,7,7;"},
        {"out-of-range off", "S1", "S0512,9999,0000;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(applyControl(state, c.line), "ok");
        EXPECT_EQ(state.controller.answer(c.command), c.reply);
    }
}

TEST_F(ControlCommands, BadLinesAreRefusedAndChangeNothing) {
    const char* lines[] = {"",
                           "bogus",
                           "counts 1 2",
                           "counts 1 2 10000",
                           "counts a b c",
                           "flags 0101",
                           "flags 0101010101012",
                           "flag 13 1",
                           "flag 0 2",
                           "silent maybe",
                           "late -1",
                           "split 0",
                           "split 65",
                           "noise 101",
                           "quit now",
                           "pacing"};
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        EXPECT_EQ(applyControl(state, line).rfind("error: ", 0), 0u);
    }
    EXPECT_EQ(state.controller.answer("S1"), "S0512,0000,0000;");
    EXPECT_EQ(state.controller.answer("E"), "E0,0,0,0,0,0,0,0,0,0,0,0,0;");
    EXPECT_FALSE(state.quit);
    EXPECT_TRUE(state.pacing);
}

TEST_F(ControlCommands, SilenceCommandsSetTheFaults) {
    EXPECT_EQ(applyControl(state, "silent-until-enable"), "ok");
    EXPECT_FALSE(state.faults.admits("E"));
    EXPECT_EQ(applyControl(state, "enable"), "ok");
    EXPECT_TRUE(state.faults.admits("E"));
    EXPECT_EQ(applyControl(state, "disable"), "ok");
    EXPECT_FALSE(state.faults.admits("E"));
    EXPECT_EQ(applyControl(state, "silent off"), "ok");
    EXPECT_FALSE(state.faults.admits("E")); // only enable ends a disable
    EXPECT_EQ(applyControl(state, "enable"), "ok");
    EXPECT_EQ(applyControl(state, "silent-for 1"), "ok");
    EXPECT_FALSE(state.faults.admits("E"));
    EXPECT_TRUE(state.faults.admits("E"));
    EXPECT_EQ(applyControl(state, "silent-after 1"), "ok");
    EXPECT_TRUE(state.faults.admits("E"));
    EXPECT_FALSE(state.faults.admits("E"));
    EXPECT_EQ(applyControl(state, "silent off"), "ok");
    EXPECT_TRUE(state.faults.admits("E"));
}

TEST_F(ControlCommands, BlanksAroundWordsDoNotMatter) {
    EXPECT_EQ(applyControl(state, "  counts\t4  5 6 \r"), "ok");
    EXPECT_EQ(state.controller.answer("S1"), "S0004,0005,0006;");
}

} // namespace
