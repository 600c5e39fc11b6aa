#include "form1_layout.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Form1Window, CaptionIsTheProgramNameAndVersion) {
    Form1Layout form;
    EXPECT_EQ(form.window.windowTitle(), "Kelvara Ver.2.0.1");
}

TEST(Form1Window, ClientAreaBelowTheMenuBarIsTheDesignSizeAtStart) {
    Form1Layout form;
    form.window.show();
    EXPECT_EQ(form.window.centralWidget(), form.ui.centralwidget);
    EXPECT_EQ(form.ui.centralwidget->size(), QSize(571, 666));
    EXPECT_EQ(form.ui.centralwidget->y(), form.ui.menubar->height());
}

TEST(Form1Window, RevealedCalibrationFrameLiesOutsideTheClientAreaAndKeepsTheWindowSize) {
    Form1Layout form;
    form.window.show();
    const QSize before = form.window.size();
    form.ui.Frame6->show();
    QApplication::processEvents();
    EXPECT_TRUE(form.ui.Frame6->isVisible());
    EXPECT_EQ(form.window.size(), before);
    EXPECT_FALSE(form.ui.centralwidget->rect().intersects(form.ui.Frame6->geometry()));
}

TEST(Form1Window, FocusIsInTheFirstParameterBoxAtFirstDisplay) {
    Form1Layout form;
    ASSERT_TRUE(form.showActive());
    EXPECT_EQ(QApplication::focusWidget(), form.ui.Text1);
}

TEST(Form1Window, TabVisitsControlsInTabIndexOrderSkippingHiddenFrames) {
    // Command2 (debug frame) and the calibration frame's controls are hidden at start.
    const std::vector<std::string> expected = {
        "Text2",    "Text3",    "Text4",    "Text5",    "Text6",     "Command3", "Text7",
        "Text8",    "Command4", "Text9",    "Text10",   "Text11",    "Command5", "Command1",
        "Command6", "Text12_0", "Text12_1", "Text12_2", "Text12_3",  "Text12_4", "Text12_5",
        "Text12_6", "Text12_7", "Text12_8", "Text12_9", "Text12_10", "Text13",   "Text14",
        "Text15",   "Text16",   "Text17",   "Text18",   "Text19",    "Text20",   "KV_UP",
        "KV_DN",    "mA_UP",    "mA_DN",    "Text1"};
    Form1Layout form;
    ASSERT_TRUE(form.showActive());
    form.ui.Text1->setFocus();
    std::vector<std::string> reached;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_NE(QApplication::focusWidget(), nullptr) << "after " << i << " presses";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.push_back(QApplication::focusWidget()->objectName().toStdString());
    }
    EXPECT_EQ(reached, expected);
}

TEST(Form1Window, TypingChangesOnlyTheEditableBoxes) {
    Form1Layout form;
    ASSERT_TRUE(form.showActive());
    struct Case {
        QLineEdit* box;
        const char* expected;
    };
    for (const Case& c :
         {Case{form.ui.Text9, "0"}, Case{form.ui.Text12_10, "0"}, Case{form.ui.Text13, "1"}}) {
        SCOPED_TRACE(c.box->objectName().toStdString());
        c.box->setText("0");
        c.box->setFocus();
        QTest::keyClick(c.box, Qt::Key_Backspace);
        QTest::keyClicks(c.box, "1");
        EXPECT_EQ(c.box->text(), c.expected);
    }
}

TEST(Form1Window, OneMenuWithItsEntriesInOrderAndNoShortcuts) {
    Form1Layout form;
    ASSERT_EQ(form.window.menuBar()->actions(), QList<QAction*>{form.ui.Menu->menuAction()});
    EXPECT_EQ(form.ui.Menu->title(), "Menu");
    EXPECT_TRUE(form.ui.Menu->menuAction()->shortcuts().isEmpty());
    QStringList entries;
    for (const QAction* a : form.ui.Menu->actions()) {
        // An exclusive group would draw radio dots and refuse to clear both marks.
        EXPECT_EQ(a->actionGroup(), nullptr);
        const char* mark = !a->isCheckable() ? "" : a->isChecked() ? " [x]" : " [ ]";
        entries << (a->isSeparator() ? "-"
                                     : a->objectName() + ": " + a->text() + mark +
                                           QKeySequence::listToString(a->shortcuts()));
    }
    EXPECT_EQ(entries,
              QStringList({"IntervalStart: Interval Start [ ]", "IntervalStop: Interval Stop [x]",
                           "-", "AD_Calibration: A/D Cal.", "-", "End: End"}));
}

} // namespace
