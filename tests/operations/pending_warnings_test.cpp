#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/pending_warnings.h"

TEST(PendingWarnings, ShownOnceEachOnlyWhenTheLinkIsIdle) {
    struct Case {
        int16_t busy;
        bool unloading;
        Strings shown;
    };
    const Case cases[] = {{0, false, {"first", "second", "nested"}}, {1, false, {}}, {0, true, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown.size());
        FakePanel f;
        f.m.bCommBusy = c.busy;
        f.m.bUnloading = c.unloading;
        f.m.pendingWarnings = {"first", "second"};
        // An event run while a box is open queues a warning and shows the queue itself.
        f.whileBoxOpen = [&] {
            f.m.pendingWarnings.push_back("nested");
            showPendingWarnings(f.p);
        };
        showPendingWarnings(f.p);
        EXPECT_EQ(f.shown, c.shown);
        EXPECT_EQ(f.m.pendingWarnings.size(), c.shown.empty() ? 2u : 0u);
    }
}
