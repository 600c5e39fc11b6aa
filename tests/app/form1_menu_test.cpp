#include "form1_layout.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

TEST(Form1Menu, MenuBarHoldsTheOneMenu) {
    Form1Layout form;
    const auto bar = form.window.menuBar()->actions();
    ASSERT_EQ(bar.size(), 1);
    ASSERT_NE(bar.front()->menu(), nullptr);
    EXPECT_EQ(bar.front()->menu()->objectName(), "Menu");
    EXPECT_EQ(bar.front()->text(), "Menu");
}

TEST(Form1Menu, EntriesInOrderWithSeparatorsAndCheckMarks) {
    struct Entry {
        const char* name;
        const char* caption;
        bool separator;
        bool checkable;
        bool checked;
    };
    const Entry entries[] = {
        {"IntervalStart", "Interval Start", false, true, false},
        {"IntervalStop", "Interval Stop", false, true, true},
        {"", "", true, false, false},
        {"AD_Calibration", "A/D Cal.", false, false, false},
        {"", "", true, false, false},
        {"End", "End", false, false, false},
    };
    Form1Layout form;
    const auto actions = form.ui.Menu->actions();
    ASSERT_EQ(actions.size(), std::size(entries));
    for (std::size_t i = 0; i < std::size(entries); ++i) {
        const Entry& e = entries[i];
        const QAction* a = actions[static_cast<qsizetype>(i)];
        SCOPED_TRACE(i);
        EXPECT_EQ(a->isSeparator(), e.separator);
        if (e.separator)
            continue;
        EXPECT_EQ(a->objectName(), e.name);
        EXPECT_EQ(a->text(), e.caption);
        EXPECT_EQ(a->isCheckable(), e.checkable);
        EXPECT_EQ(a->isChecked(), e.checked);
        // An exclusive group would draw radio dots and refuse to clear both marks.
        EXPECT_EQ(a->actionGroup(), nullptr);
    }
}

TEST(Form1Menu, NoEntryHasAShortcutOrAccessKey) {
    Form1Layout form;
    auto actions = form.ui.Menu->actions();
    actions.append(form.ui.Menu->menuAction());
    for (const QAction* a : actions) {
        SCOPED_TRACE(a->text().toStdString());
        EXPECT_TRUE(a->shortcuts().isEmpty());
        EXPECT_FALSE(a->text().contains('&'));
        EXPECT_TRUE(QKeySequence::mnemonic(a->text()).isEmpty());
    }
}

} // namespace
