#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/parameter_read.h"

TEST(ParameterRead, ShowsRepliesInOrderAndKeepsUnreadBoxesWithOneWarning) {
    struct Case {
        const char *cmd, *reply;
        BoxName box;
        const char* shown;
        const char* kept; // the boxes left unread, as the warning names them
        CommandOutcome outcome;
        int sent;
    };
    // The other registers answer "R0;".
    const Case cases[] = {
        {"R2", "R0;", "Text3", "", nullptr, Complete, 12},
        {"R8", "R0;", "Text17", "0.0000", nullptr, Complete, 12},
        {"R0", "R5;", "Text1", ".5", nullptr, Complete, 12},
        {"R2", "R805;", "Text3", "81", nullptr, Complete, 12},
        {"R8", "R65535;", "Text17", "6.5535", nullptr, Complete, 12},
        {"R3", "R7;", "Text4", "old", "mA_MAX (Text4)", Failed, 12},
        // A reply without its number was not read either: no 0 to be written back.
        {"R4", "R;", "Text5", "old", "KV_OUT (Text5)", Complete, 12},
        // The link is busy: the rest would be refused as well.
        {"R10", "R7;", "Text19", "old", "mA_SLOPE (Text19), mA_OFFSET (Text20)", Refused, 10}};
    const Strings reads{"R0", "R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8", "R9", "R10", "R11"};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.cmd) + " " + c.reply);
        FakePanel f;
        f.texts[c.box] = "old";
        f.answer(c.cmd, {c.reply, c.outcome});
        Command1_Click(f.p);
        EXPECT_EQ(f.sent, Strings(reads.begin(), reads.begin() + c.sent));
        EXPECT_EQ(f.texts[c.box], c.shown);
        EXPECT_EQ(f.m.pendingWarnings,
                  c.kept ? Strings{std::string("EEPROM READ: not read from the controller, so "
                                               "these boxes keep their earlier text: ") +
                                   c.kept + "."}
                         : Strings{});
    }
}
