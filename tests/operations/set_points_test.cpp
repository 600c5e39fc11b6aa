#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/set_points.h"

TEST(SetPoints, SteppersMoveOneUnitUpToTheirBoundsAndNeverBelowZero) {
    struct Case {
        Click click;
        BoxName box;
        const char* start;
        BoxName boundBox;
        const char* bound;
        std::size_t clicks, steps, warnings;
        CommandOutcome outcome;   // of "V11"
        const char *last, *shown; // the command sent last, the box after the clicks
    };
    const Case cases[] = {
        {KV_UP_Click, "Text7", "10", "Text3", "50", 45, 40, 0, Complete, "V50", "50"},
        {KV_DN_Click, "Text7", "13", "Text5", "10", 5, 3, 0, Complete, "V10", "10"},
        {mA_UP_Click, "Text8", "2", "Text4", "30", 30, 28, 0, Complete, "I30", "30"},
        {mA_DN_Click, "Text8", "2", "Text6", "2", 3, 0, 0, Complete, "", "2"},
        {KV_UP_Click, "Text7", "12.30", "Text3", "50", 1, 1, 0, Complete, "V13.3", "13.3"},
        // A step ends at its bound, and below 0 there is no set-point; an empty bound reads 0.
        {mA_UP_Click, "Text8", "29.5", "Text4", "30", 2, 1, 0, Complete, "I30", "30"},
        {KV_UP_Click, "Text7", "49.5", "Text3", "50", 1, 1, 0, Complete, "V50", "50"},
        {KV_DN_Click, "Text7", "0.5", "Text5", "", 2, 1, 0, Complete, "V0", "0"},
        {KV_DN_Click, "Text7", "-3", "Text5", "-5", 1, 0, 0, Complete, "", "-3"},
        // Values no generator should get stay in the box, unsent, with a warning.
        {KV_UP_Click, "Text7", "-3", "Text3", "50", 1, 0, 1, Complete, "", "-3"},
        {mA_UP_Click, "Text8", "999999999999999", "Text4", "1E16", 1, 0, 1, Complete, "",
         "999999999999999"},
        // The box shows what the controller may have taken: a failed send may have arrived.
        {KV_UP_Click, "Text7", "10.0", "Text3", "50", 1, 0, 0, Refused, "", "10.0"},
        {KV_UP_Click, "Text7", "10.0", "Text3", "50", 1, 1, 0, Failed, "V11", "11"},
        {KV_DN_Click, "Text7", "1E400", "Text5", "10", 1, 0, 1, Complete, "", "1E400"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " " + c.start + " " + c.last);
        FakePanel f;
        f.texts = {{c.box, c.start}, {c.boundBox, c.bound}};
        f.answer("V11", {"V;", c.outcome});
        for (std::size_t i = 0; i < c.clicks; ++i) {
            c.click(f.p);
        }
        ASSERT_EQ(f.sent.size(), c.steps);
        EXPECT_EQ(c.steps > 0 ? f.sent.back() : "", c.last);
        EXPECT_EQ(f.texts[c.box], c.shown);
        EXPECT_EQ(f.m.pendingWarnings.size(), c.warnings);
    }
}

// A kV set-point not sent for the busy link stops the update: the mA one is not sent either.
TEST(SetPoints, UpdateSendsBothSetPointsAndKeepsTheBoxes) {
    struct Case {
        const char *kv, *refused; // Text7, the command refused
        Strings sent;
        std::size_t warnings;
    };
    const Case cases[] = {{"12.30", "", {"V12.3", "I.5"}, 0},
                          {"12.30", "V12.3", {}, 1},
                          {"1E400", "", {"I.5"}, 1},
                          {"1,5", "", {"I.5"}, 1}};
    for (const auto& [kv, refused, sent, warnings] : cases) {
        SCOPED_TRACE(std::string(kv) + " " + refused);
        FakePanel f;
        const Texts boxes{{"Text7", kv}, {"Text8", "0.5"}};
        f.texts = boxes;
        f.answer(refused, {"", Refused});
        Command4_Click(f.p);
        EXPECT_EQ(f.sent, sent);
        EXPECT_EQ(f.texts, boxes);
        EXPECT_EQ(f.m.pendingWarnings.size(), warnings);
    }
}
