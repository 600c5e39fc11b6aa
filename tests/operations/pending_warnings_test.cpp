#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/pending_warnings.h"
#include "operations/set_points.h"

namespace {

TEST(PendingWarnings, ShownInOrderOnlyWhenTheLinkIsIdle) {
    struct Case {
        int16_t busy;
        bool unloading;
        Commands shown;
    };
    const Case cases[] = {{0, false, {"first", "second"}}, {1, false, {}}, {0, true, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown.size());
        FakePanel f;
        f.m.bCommBusy = c.busy;
        f.m.bUnloading = c.unloading;
        f.m.pendingWarnings = {"first", "second"};
        ShowPendingWarnings(f.p);
        Commands shown;
        for (const auto& box : f.boxes.shown) {
            shown.push_back(box.text);
            EXPECT_EQ(box.flags, 0x1030);
            EXPECT_EQ(box.title, "Kelvara");
        }
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(f.m.pendingWarnings.size(), 2 - c.shown.size());
    }
}

TEST(PendingWarnings, WarningQueuedWhileABoxIsOpenIsShownToo) {
    FakePanel f;
    f.m.pendingWarnings = {"first"};
    f.boxes.whileOpen = [&] { f.m.pendingWarnings.push_back("nested"); };
    ShowPendingWarnings(f.p);
    ASSERT_EQ(f.boxes.shown.size(), 2u);
    EXPECT_EQ(f.boxes.shown[1].text, "nested");
    EXPECT_TRUE(f.m.pendingWarnings.empty());
}

TEST(PendingWarnings, NestedClickWarnsOnlyAfterTheOpenTransaction) {
    FakePanel f;
    f.link.answer("F3.8", {"F;", Complete, [&] {
                               Command4_Click(f.p); // refused: the link is busy
                               ShowPendingWarnings(f.p);
                           }});
    f.link.Rs232cCommand("F3.8");
    EXPECT_TRUE(f.boxes.shown.empty());
    ShowPendingWarnings(f.p);
    EXPECT_EQ(f.boxes.shown.size(), 1u);
}

} // namespace
