#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/pending_warnings.h"

TEST(PendingWarnings, ShownOnceEachOnlyWhenTheLinkIsIdle) {
    const std::tuple<int16_t, bool, Strings> cases[] = {
        {0, false, {"first", "second", "nested"}}, {1, false, {}}, {0, true, {}}};
    for (const auto& [busy, unloading, shown] : cases) {
        SCOPED_TRACE(shown.size());
        FakePanel f;
        f.m.bCommBusy = busy;
        f.m.bUnloading = unloading;
        f.m.pendingWarnings = {"first", "second"};
        // An event run while a box is open queues a warning and shows the queue itself.
        f.whileBoxOpen = [&] {
            f.m.pendingWarnings.push_back("nested");
            showPendingWarnings(f.p);
        };
        showPendingWarnings(f.p);
        EXPECT_EQ(f.shown, shown);
        EXPECT_EQ(f.m.pendingWarnings.size(), shown.empty() ? 2u : 0u);
    }
}
