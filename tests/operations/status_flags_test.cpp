#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/status_flag_boxes.h"
#include "operations/status_flags.h"

TEST(StatusFlags, ShowsEachFlagInverted) {
    // The reply, the thirteen boxes in reply order ("_" if not written), the outcome.
    const std::tuple<const char*, const char*, CommandOutcome> cases[] = {
        {"E1,1,1,1,1,1,1,1,1,1,1,1,1;", "0000000000000", Complete},
        {"E1,1,1,1,1,1;", "0000001111111", Complete},
        {"E1,x,1,1,1,1,1,1,1,1,1,1,1;", "0100000000000", Complete},
        // Without separators the digits from a position on read as one number.
        {"E0010000000000000000000000;", "0011111111111", Complete},
        // A dead link raises every flag, even with a reply left in the buffer from before.
        {"E1,1,1,1,1,1,1,1,1,1,1,1,1;", "1111111111111", Failed},
        {"E1,1,1,1,1,1,1,1,1,1,1,1,1;", "_____________", Refused}};
    for (const auto& [reply, expected, outcome] : cases) {
        SCOPED_TRACE(reply);
        FakePanel f;
        f.answer("E", {reply, outcome});
        EXPECT_EQ(Command6_Click(f.p), outcome == Complete);
        std::string shown;
        for (const CaptionedBox& b : kStatusFlagBoxes) {
            shown += f.texts.contains(b.box) ? f.texts[b.box] : "_";
        }
        EXPECT_EQ(shown, expected);
    }
}
