#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/parameter_write.h"

const Texts kDesignTexts{{"Text1", "2.0"},     {"Text2", "3.8"},     {"Text3", "50"},
                         {"Text4", "30"},      {"Text5", "10"},      {"Text6", "2"},
                         {"Text15", "10"},     {"Text16", "2"},      {"Text17", "0.1640"},
                         {"Text18", "0.0001"}, {"Text19", "0.1210"}, {"Text20", "0"},
                         {"Text7", "10"},      {"Text8", "2"}};
const Strings kDesignCommands{"W00,20", "W01,38",  "W02,500", "W03,300", "W04,100",
                              "W05,20", "W06,100", "W07,20",  "c1640",   "d1",
                              "k1210",  "j0",      "V10",     "I2"};

const std::string kNoNumber = " was not sent because it holds no number (use \".\" as the "
                              "decimal point).";
const std::string kOutOfRange = " was not sent because its number is out of range.";

TEST(ParameterWrite, SendsEachBoxTimesItsFactorUnroundedThenTheSetPoints) {
    struct Case {
        BoxName box;
        const char* text;
        int index;       // its place in the write
        const char* cmd; // sent for it, nullptr: none
        std::string warning;
    };
    const Case cases[] = {
        {"Text1", "&H10", 0, "W00,160", ""},
        {"Text1", " 2.5 ", 0, "W00,25", ""},
        {"Text1", "2.05", 0, "W00,20.5", ""},
        {"Text18", "0.00005", 9, "d.5", ""},
        // A box without a number would store 0, a decimal comma the integer part.
        {"Text1", "abc", 0, nullptr, "PWR_LMT (Text1)" + kNoNumber},
        {"Text2", "4,2", 1, nullptr, "FIL_LMT (Text2)" + kNoNumber},
        {"Text3", "1E400", 2, nullptr, "KV_MAX (Text3)" + kOutOfRange},
        {"Text17", "1E305", 8, nullptr, "KV_SLOPE (Text17)" + kOutOfRange}, // only times 10000
    };
    for (const auto& [box, text, index, cmd, warning] : cases) {
        SCOPED_TRACE(std::string(box) + " " + text);
        FakePanel f;
        f.texts = kDesignTexts;
        f.texts[box] = text;
        Command3_Click(f.p);
        Strings expected = kDesignCommands;
        cmd ? (void)(expected[static_cast<std::size_t>(index)] = cmd)
            : (void)expected.erase(expected.begin() + index);
        EXPECT_EQ(f.sent, expected);
        EXPECT_EQ(f.m.pendingWarnings,
                  warning.empty() ? Strings{} : Strings{"EEPROM WRITE: " + warning});
    }
}

TEST(ParameterWrite, RefusedCommandStopsTheWriteWithAWarning) {
    FakePanel f;
    f.texts = kDesignTexts;
    f.answer("W03,300", {"", Refused});
    Command3_Click(f.p);
    EXPECT_EQ(f.sent, (Strings{"W00,20", "W01,38", "W02,500"}));
    EXPECT_EQ(f.m.pendingWarnings,
              Strings{"EEPROM WRITE: W03,300 was not sent because the link was busy with another "
                      "command; the commands after it were not sent either."});
}
