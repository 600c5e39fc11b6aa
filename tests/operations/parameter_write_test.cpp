#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/parameter_read.h"
#include "operations/parameter_write.h"

namespace {

const Texts kDesignTexts{{"Text1", "2.0"},     {"Text2", "3.8"},     {"Text3", "50"},
                         {"Text4", "30"},      {"Text5", "10"},      {"Text6", "2"},
                         {"Text15", "10"},     {"Text16", "2"},      {"Text17", "0.1640"},
                         {"Text18", "0.0001"}, {"Text19", "0.1210"}, {"Text20", "0"},
                         {"Text7", "10"},      {"Text8", "2"}};

const Commands kDesignCommands{"W00,20", "W01,38",  "W02,500", "W03,300", "W04,100",
                               "W05,20", "W06,100", "W07,20",  "c1640",   "d1",
                               "k1210",  "j0",      "V10",     "I2"};

TEST(ParameterWrite, SendsEveryRegisterThenTheSetPoints) {
    FakePanel f;
    f.w.texts = kDesignTexts;
    Command3_Click(f.p);
    EXPECT_EQ(f.link.sent, kDesignCommands);
    EXPECT_TRUE(f.m.pendingWarnings.empty());
}

TEST(ParameterWrite, SendsTheBoxNumberTimesTheFactorUnrounded) {
    struct Case {
        const char* box;
        const char* text;
        std::size_t index;
        const char* cmd;
    };
    const Case cases[] = {
        {"Text1", "abc", 0, "W00,0"},     {"Text1", "12abc", 0, "W00,120"},
        {"Text1", "2.05", 0, "W00,20.5"}, {"Text1", "-1.5", 0, "W00,-15"},
        {"Text3", "", 2, "W02,0"},        {"Text18", "0.00005", 9, "d.5"},
        {"Text17", "0.0003", 8, "c3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " " + c.text);
        FakePanel f;
        f.w.texts = kDesignTexts;
        f.w.texts[c.box] = c.text;
        Command3_Click(f.p);
        ASSERT_EQ(f.link.sent.size(), kDesignCommands.size());
        EXPECT_EQ(f.link.sent[c.index], c.cmd);
    }
}

TEST(ParameterWrite, WritesBackTheRegisterValuesRead) {
    FakePanel f;
    f.w.texts = kDesignTexts;
    const Commands values{"20",  "38", "805",  "300", "100",  "0",
                          "100", "20", "1640", "1",   "1210", "-3"};
    for (std::size_t i = 0; i < values.size(); ++i)
        f.link.answer("R" + std::to_string(i), {"R" + values[i] + ";"});
    Command1_Click(f.p);
    f.link.sent.clear();
    Command3_Click(f.p);
    EXPECT_EQ(f.link.sent,
              (Commands{"W00,20", "W01,38", "W02,810", "W03,300", "W04,100", "W05,0", "W06,100",
                        "W07,20", "c1640", "d1", "k1210", "j-3", "V10", "I2"}));
}

TEST(ParameterWrite, RefusedCommandStopsTheWriteWithAWarning) {
    FakePanel f;
    f.w.texts = kDesignTexts;
    f.link.answer("W03,300", {"", Refused});
    Command3_Click(f.p);
    EXPECT_EQ(f.link.sent, (Commands{"W00,20", "W01,38", "W02,500"}));
    EXPECT_EQ(f.m.pendingWarnings,
              Commands{"EEPROM WRITE: W03,300 was not sent because the link was busy with another "
                       "command; the commands after it were not sent either."});
}

TEST(ParameterWrite, OutOfRangeBoxIsSkippedAndNamed) {
    FakePanel f;
    f.w.texts = kDesignTexts;
    f.w.texts["Text3"] = "1E400";
    f.w.texts["Text17"] = "1E305"; // finite, but not once multiplied by 10000
    Command3_Click(f.p);
    Commands expected = kDesignCommands;
    expected.erase(expected.begin() + 8);
    expected.erase(expected.begin() + 2);
    EXPECT_EQ(f.link.sent, expected);
    EXPECT_EQ(f.m.pendingWarnings,
              (Commands{"EEPROM WRITE: KV_MAX (Text3) was not sent because its number is out of "
                        "range.",
                        "EEPROM WRITE: KV_SLOPE (Text17) was not sent because its number is out "
                        "of range."}));
}

TEST(ParameterWrite, FailedCommandGoesOnClosingStops) {
    for (const auto& [outcome, sent] : {std::pair{Failed, 14u}, {Closing, 4u}}) {
        SCOPED_TRACE(sent);
        FakePanel f;
        f.w.texts = kDesignTexts;
        f.link.answer("W03,300", {"", outcome});
        Command3_Click(f.p);
        EXPECT_EQ(f.link.sent.size(), sent);
        EXPECT_TRUE(f.m.pendingWarnings.empty());
    }
}

TEST(ParameterWrite, DoesNothingWithoutAPort) {
    FakePanel f;
    f.m.i_comPort = 0;
    f.w.texts = kDesignTexts;
    Command3_Click(f.p);
    EXPECT_TRUE(f.link.sent.empty());
}

} // namespace
