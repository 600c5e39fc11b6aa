#include <gtest/gtest.h>

#include <functional>

#include "fake_panel.h"
#include "operations/set_points.h"

namespace {

TEST(SetPoints, SteppersMoveOneUnitWithinStrictBounds) {
    struct Case {
        std::function<void(Panel&)> click;
        const char* box;
        const char* start;
        const char* boundBox;
        const char* bound;
        int clicks;
        std::size_t steps;
        const char* last; // command sent last
        const char* shown;
    };
    const Case cases[] = {
        {KV_UP_Click, "Text7", "10", "Text3", "50", 45, 40, "V50", "50"},
        {KV_DN_Click, "Text7", "10", "Text5", "10", 3, 0, "", "10"},
        {KV_DN_Click, "Text7", "13", "Text5", "10", 5, 3, "V10", "10"},
        {mA_UP_Click, "Text8", "2", "Text4", "30", 30, 28, "I30", "30"},
        {mA_DN_Click, "Text8", "2", "Text6", "2", 3, 0, "", "2"},
        {KV_UP_Click, "Text7", "12.30", "Text3", "50", 1, 1, "V13.3", "13.3"},
        {mA_UP_Click, "Text8", "0.5", "Text4", "30", 1, 1, "I1.5", "1.5"},
        {mA_UP_Click, "Text8", "29.5", "Text4", "30", 2, 1, "I30.5", "30.5"},
        {KV_UP_Click, "Text7", "", "Text3", "50", 1, 1, "V1", "1"},
        {KV_UP_Click, "Text7", "0.5", "Text3", "", 1, 0, "", "0.5"},
        {KV_DN_Click, "Text7", "0.5", "Text5", "", 1, 1, "V-.5", "-0.5"},
        {mA_DN_Click, "Text8", "0.5", "Text6", "x", 1, 1, "I-.5", "-0.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " " + c.start + " " + c.last);
        FakePanel f;
        f.w.texts = {{c.box, c.start}, {c.boundBox, c.bound}};
        for (int i = 0; i < c.clicks; ++i)
            c.click(f.p);
        ASSERT_EQ(f.link.sent.size(), c.steps);
        EXPECT_EQ(c.steps > 0 ? f.link.sent.back() : "", c.last);
        EXPECT_EQ(f.w.texts[c.box], c.shown);
    }
}

TEST(SetPoints, UpdateSendsBothSetPointsAndLeavesTheBoxes) {
    FakePanel f;
    f.w.texts = {{"Text7", "12.30"}, {"Text8", "0.5"}, {"Text3", "5"}};
    Command4_Click(f.p);
    f.w.texts = {};
    Command4_Click(f.p);
    EXPECT_EQ(f.link.sent, (Commands{"V12.3", "I.5", "V0", "I0"}));
    EXPECT_EQ(f.w.texts, (Texts{{"Text7", ""}, {"Text8", ""}}));
}

TEST(SetPoints, RefusedStepRestoresTheBoxFailedStepKeepsIt) {
    for (const auto& [outcome, shown] : {std::pair{Refused, "10.0"}, {Failed, "11"}}) {
        SCOPED_TRACE(shown);
        FakePanel f;
        f.w.texts = {{"Text7", "10.0"}, {"Text3", "50"}};
        f.link.answer("V11", {"V;", outcome});
        KV_UP_Click(f.p);
        EXPECT_EQ(f.w.texts["Text7"], shown);
        EXPECT_TRUE(f.m.pendingWarnings.empty());
    }
}

TEST(SetPoints, UpdateStopsAtARefusedCommandWithAWarning) {
    struct Case {
        const char* refused;
        Commands sent;
        const char* warning;
    };
    const Case cases[] = {
        {"V10",
         {},
         "UPDATE: V10 was not sent because the link was busy with another command; the commands "
         "after it were not sent either."},
        {"I2", {"V10"}, "UPDATE: I2 was not sent because the link was busy with another command."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refused);
        FakePanel f;
        f.w.texts = {{"Text7", "10"}, {"Text8", "2"}};
        f.link.answer(c.refused, {"", Refused});
        Command4_Click(f.p);
        EXPECT_EQ(f.link.sent, c.sent);
        EXPECT_EQ(f.m.pendingWarnings, Commands{c.warning});
    }
}

TEST(SetPoints, OutOfRangeSetPointIsNotSent) {
    FakePanel f;
    f.w.texts = {{"Text7", "1E400"}, {"Text8", "2"}, {"Text5", "10"}};
    Command4_Click(f.p);
    KV_DN_Click(f.p);
    EXPECT_EQ(f.link.sent, Commands{"I2"});
    EXPECT_EQ(f.w.texts["Text7"], "1E400");
    EXPECT_EQ(f.m.pendingWarnings,
              (Commands{"UPDATE: KV出力値 (Text7) was not sent because its number is out of range.",
                        "DWN: KV出力値 (Text7) was not sent because its number is out of range."}));
}

TEST(SetPoints, NothingIsSentWithoutAPortOrOnceClosing) {
    FakePanel noPort;
    noPort.m.i_comPort = 0;
    noPort.w.texts = {{"Text7", "10"}, {"Text3", "50"}};
    Command4_Click(noPort.p);
    KV_UP_Click(noPort.p);
    EXPECT_TRUE(noPort.link.sent.empty());
    EXPECT_EQ(noPort.w.texts["Text7"], "10");

    FakePanel closing;
    closing.link.answer("V0", {"", Closing});
    Command4_Click(closing.p);
    EXPECT_EQ(closing.link.sent, Commands{"V0"});
    EXPECT_TRUE(closing.m.pendingWarnings.empty());
}

} // namespace
