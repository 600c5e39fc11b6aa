#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/parameter_read.h"

namespace {

Commands ReadCommands(std::size_t count) {
    Commands commands;
    for (std::size_t i = 0; i < count; ++i)
        commands.push_back("R" + std::to_string(i));
    return commands;
}

TEST(ParameterRead, ShowsEachReplyScaledInItsPattern) {
    struct Case {
        const char* cmd;
        const char* reply;
        const char* box;
        const char* shown;
    };
    const Case cases[] = {
        {"R2", "R0;", "Text3", ""},
        {"R1", "R0;", "Text2", ".0"},
        {"R8", "R0;", "Text17", "0.0000"},
        {"R0", "R5;", "Text1", ".5"},
        {"R1", "R38;", "Text2", "3.8"},
        {"R2", "R805;", "Text3", "81"},
        {"R9", "R1;", "Text18", "0.0001"},
        {"R8", "R65535;", "Text17", "6.5535"},
        {"R10", "R1210;", "Text19", "0.1210"},
        {"R11", "R-5;", "Text20", "-0.0005"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.cmd) + " " + c.reply);
        FakePanel f;
        f.w.texts[c.box] = "old";
        f.link.answer(c.cmd, {c.reply});
        Command1_Click(f.p);
        EXPECT_EQ(f.link.sent, ReadCommands(12));
        EXPECT_EQ(f.w.texts[c.box], c.shown);
    }
}

TEST(ParameterRead, UnreadBoxesKeepTheirTextAndOneWarningNamesThem) {
    struct Case {
        std::map<std::string, CommandOutcome> outcomes;
        std::size_t sent;
        Texts kept;
        const char* warned;
    };
    const Case cases[] = {
        {{{"R3", Failed}, {"R8", Failed}},
         12,
         {{"Text4", "30"}, {"Text17", "0.1640"}},
         "mA_MAX (Text4), KV_SLOPE (Text17)"},
        // The link is busy: the rest would be refused as well.
        {{{"R10", Refused}},
         10,
         {{"Text19", "a"}, {"Text20", "b"}},
         "mA_SLOPE (Text19), mA_OFFSET (Text20)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warned);
        FakePanel f;
        f.link.answer("R0", {"R1;"});
        for (const auto& [cmd, outcome] : c.outcomes)
            f.link.answer(cmd, {"R7;", outcome});
        f.w.texts = c.kept;
        Command1_Click(f.p);
        EXPECT_EQ(f.link.sent, ReadCommands(c.sent));
        EXPECT_EQ(f.w.texts["Text1"], ".1");
        for (const auto& [box, text] : c.kept)
            EXPECT_EQ(f.w.texts[box], text) << box;
        EXPECT_EQ(f.m.pendingWarnings,
                  Commands{std::string("EEPROM READ: not read from the controller, so these "
                                       "boxes keep their earlier text: ") +
                           c.warned + "."});
    }
}

TEST(ParameterRead, StopsSilentlyWhenTheWindowCloses) {
    FakePanel f;
    f.link.answer("R2", {"", Closing});
    Command1_Click(f.p);
    EXPECT_EQ(f.link.sent, ReadCommands(3));
    EXPECT_FALSE(f.w.texts.contains("Text3"));
    EXPECT_TRUE(f.m.pendingWarnings.empty());
}

TEST(ParameterRead, DoesNothingWithoutAPort) {
    FakePanel f;
    f.m.i_comPort = 0;
    Command1_Click(f.p);
    EXPECT_TRUE(f.link.sent.empty());
    EXPECT_TRUE(f.w.texts.empty());
}

} // namespace
