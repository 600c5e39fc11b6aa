#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/parameter_read.h"
#include "operations/parameter_write.h"

const Texts kDesignTexts{{"Text1", "2.0"},     {"Text2", "3.8"},     {"Text3", "50"},
                         {"Text4", "30"},      {"Text5", "10"},      {"Text6", "2"},
                         {"Text15", "10"},     {"Text16", "2"},      {"Text17", "0.1640"},
                         {"Text18", "0.0001"}, {"Text19", "0.1210"}, {"Text20", "0"},
                         {"Text7", "10"},      {"Text8", "2"}};
const Strings kDesignCommands{"W00,20", "W01,38",  "W02,500", "W03,300", "W04,100",
                              "W05,20", "W06,100", "W07,20",  "c1640",   "d1",
                              "k1210",  "j0",      "V10",     "I2"};

const std::string kNoNumber = ", which holds no number (use \".\" as the decimal point)";
const std::string kOutOfRange = ", whose value is out of range";

TEST(ParameterWrite, SendsEachBoxTimesItsFactorUnroundedThenTheSetPoints) {
    struct Case {
        BoxName box;
        const char* text;
        int index;       // the box's place in the write
        const char* cmd; // sent for it; nullptr: not sent, and named in the warning
        std::string why;
    };
    const Case cases[] = {
        {"Text1", "&H10", 0, "W00,160", ""},
        {"Text1", " 2.5 ", 0, "W00,25", ""},
        {"Text1", "2.05", 0, "W00,20.5", ""},
        {"Text18", "0.00005", 9, "d.5", ""},
        // The coefficients keep their sign; limits and outputs have none.
        {"Text18", "-0.5", 9, "d-5000", ""},
        {"Text1", "-0.5", 0, nullptr, "PWR_LMT (Text1)" + kOutOfRange},
        // A box without a number would store 0, a decimal comma the integer part.
        {"Text1", "abc", 0, nullptr, "PWR_LMT (Text1)" + kNoNumber},
        {"Text2", "4,2", 1, nullptr, "FIL_LMT (Text2)" + kNoNumber},
        {"Text3", "1E400", 2, nullptr, "KV_MAX (Text3)" + kOutOfRange},
        {"Text17", "1E305", 8, nullptr, "KV_SLOPE (Text17)" + kOutOfRange},
        // Values that would go out in the exponent form.
        {"Text16", "1e300", 7, nullptr, "mA_MIN (Text16)" + kOutOfRange},
        {"Text17", "1e-20", 8, nullptr, "KV_SLOPE (Text17)" + kOutOfRange},
        {"Text7", "1e300", 12, nullptr, "KV出力値 (Text7)" + kOutOfRange},
        {"Text8", "-0.5", 13, nullptr, "mA出力値 (Text8)" + kOutOfRange},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " " + c.text);
        FakePanel f;
        f.texts = kDesignTexts;
        f.texts[c.box] = c.text;
        Command3_Click(f.p);
        Strings expected = kDesignCommands;
        c.cmd ? (void)(expected[static_cast<std::size_t>(c.index)] = c.cmd)
              : (void)expected.erase(expected.begin() + c.index);
        EXPECT_EQ(f.sent, expected);
        EXPECT_EQ(f.m.pendingWarnings,
                  c.why.empty() ? Strings{} : Strings{"EEPROM WRITE: not sent: " + c.why + "."});
    }
}

// However many boxes are not sent, and whether the link was busy too: one warning.
TEST(ParameterWrite, OneWarningNamesEveryBoxNotSent) {
    for (const bool busy : {false, true}) {
        SCOPED_TRACE(busy);
        FakePanel f;
        f.texts = kDesignTexts;
        f.texts["Text1"] = "abc";
        f.texts["Text3"] = "1E400";
        f.texts["Text16"] = "1e300";
        f.answer("W03,300", {"", busy ? Refused : Complete});
        Command3_Click(f.p);
        const char* const skipped =
            "EEPROM WRITE: not sent: PWR_LMT (Text1), which holds no number (use \".\" as the "
            "decimal point); KV_MAX (Text3), whose value is out of range";
        std::string expected(skipped);
        expected += busy ? ". W03,300 was not sent because the link was busy with another "
                           "command; the commands after it were not sent either."
                         : "; mA_MIN (Text16), whose value is out of range.";
        EXPECT_EQ(f.m.pendingWarnings, Strings{expected});
        EXPECT_EQ(f.sent.size(), busy ? 1u : 11u);
    }
}

// The boxes round what they show; a box still showing what the read put there sends the value
// read, unchanged. An edited box goes out as typed, an emptied one not at all.
TEST(ParameterWrite, WhatAReadShowedGoesBackExactly) {
    const Strings replies{"R20;",  "R38.5;", "R805;",    "R300;", "R0;",    "R20;",
                          "R100;", "R20;",   "R1640.5;", "R-.5;", "R1210;", "R1E300;"};
    struct Case {
        Texts edits;
        Strings sent;
        std::string why;
    };
    const Strings readBack{"W00,20",  "W01,38.5", "W02,805", "W03,300", "W04,0", "W05,20",
                           "W06,100", "W07,20",   "c1640.5", "d-.5",    "k1210"};
    const Case cases[] = {{{}, readBack, "mA_OFFSET (Text20)" + kOutOfRange},
                          {{{"Text3", "60"}, {"Text6", ""}, {"Text20", "0.0002"}},
                           {"W00,20", "W01,38.5", "W02,600", "W03,300", "W04,0", "W06,100",
                            "W07,20", "c1640.5", "d-.5", "k1210", "j2"},
                           "mA_OUT (Text6)" + kNoNumber},
                          // Typed again exactly as shown, the box still shows the read.
                          {{{"Text3", "81"}}, readBack, "mA_OFFSET (Text20)" + kOutOfRange}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sent[2]);
        FakePanel f;
        f.texts = kDesignTexts;
        for (std::size_t r = 0; r < replies.size(); ++r) {
            f.answer("R" + std::to_string(r), {replies[r]});
        }
        Command1_Click(f.p);
        EXPECT_EQ(f.texts["Text3"] + "|" + f.texts["Text5"] + "|" + f.texts["Text2"] + "|" +
                      f.texts["Text17"] + "|" + f.texts["Text18"],
                  "81||3.9|0.1641|-0.0001");
        for (const auto& [box, text] : c.edits) {
            f.texts[box] = text;
        }
        f.sent.clear();
        Command3_Click(f.p);
        Strings expected = c.sent;
        expected.insert(expected.end(), {"V10", "I2"});
        EXPECT_EQ(f.sent, expected);
        EXPECT_EQ(f.m.pendingWarnings, Strings{"EEPROM WRITE: not sent: " + c.why + "."});
    }
}

// A read that fails leaves the box, and what it goes back as, as the earlier read left them.
TEST(ParameterWrite, AFailedReadKeepsTheValueReadBefore) {
    FakePanel f;
    f.texts = kDesignTexts;
    f.answer("R2", {"R805;"});
    Command1_Click(f.p);
    f.answer("R2", {"", Failed});
    Command1_Click(f.p);
    f.sent.clear();
    Command3_Click(f.p);
    EXPECT_EQ(f.texts["Text3"], "81");
    EXPECT_EQ(f.sent.at(2), "W02,805");
}
