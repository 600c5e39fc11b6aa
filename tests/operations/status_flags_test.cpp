#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/status_flags.h"

namespace {

// The thirteen flag boxes in reply order, "_" for a box never written.
std::string Flags(FakeWindow& w) {
    std::string shown;
    for (int i = 0; i <= 12; ++i) {
        const std::string box =
            i <= 10 ? "Text12(" + std::to_string(i) + ")" : (i == 11 ? "Text13" : "Text14");
        shown += w.texts.contains(box) ? w.texts[box] : "_";
    }
    return shown;
}

TEST(StatusFlags, ShowsEachFlagInverted) {
    struct Case {
        const char* reply;
        CommandOutcome outcome;
        const char* shown;
    };
    const Case cases[] = {
        {"E1,1,1,1,1,1,1,1,1,1,1,1,1;", Complete, "0000000000000"},
        {"E0,0,0,0,0,0,0,0,0,0,0,0,0;", Complete, "1111111111111"},
        {"E1,0,1,0,1,0,1,0,1,0,1,0,1;", Complete, "0101010101010"},
        {"E1,1,1,1,1,1;", Complete, "0000001111111"},
        {"E1,x,1,1,1,1,1,1,1,1,1,1,1;", Complete, "0100000000000"},
        // Without separators the digits from a position on read as one number.
        {"E0010000000000000000000000;", Complete, "0011111111111"},
        // A dead link raises every flag.
        {"", Failed, "1111111111111"},
        // Another transaction's reply is not shown.
        {"E1,1,1,1,1,1,1,1,1,1,1,1,1;", Refused, "_____________"},
        {"E1,1,1,1,1,1,1,1,1,1,1,1,1;", Closing, "_____________"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        FakePanel f;
        f.link.answer("E", {c.reply, c.outcome});
        Command6_Click(f.p);
        EXPECT_EQ(Flags(f.w), c.shown);
    }
}

TEST(StatusFlags, DoesNothingWithoutAPort) {
    FakePanel f;
    f.m.i_comPort = 0;
    Command6_Click(f.p);
    EXPECT_TRUE(f.link.sent.empty());
    EXPECT_TRUE(f.w.texts.empty());
}

} // namespace
