#include "form1_layout.h"

#include <QApplication>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct TabStop {
    int tab;
    const char* name;
    const char* frame;
};

// Every focusable control with its tab index, as designed.
const std::vector<TabStop> tabStops = {
    {7, "Text1", "Frame1"},     {8, "Text2", "Frame1"},      {9, "Text3", "Frame1"},
    {10, "Text4", "Frame1"},    {11, "Text5", "Frame1"},     {12, "Text6", "Frame1"},
    {61, "Text15", "Frame1"},   {62, "Text16", "Frame1"},    {64, "Text17", "Frame1"},
    {65, "Text18", "Frame1"},   {67, "Text19", "Frame1"},    {68, "Text20", "Frame1"},
    {13, "Command3", "Frame1"}, {28, "Command1", "Frame1"},  {69, "KV_UP", "Frame2"},
    {70, "KV_DN", "Frame2"},    {17, "Text7", "Frame2"},     {71, "mA_UP", "Frame2"},
    {72, "mA_DN", "Frame2"},    {18, "Text8", "Frame2"},     {19, "Command4", "Frame2"},
    {24, "Text9", "Frame3"},    {25, "Text10", "Frame3"},    {26, "Text11", "Frame3"},
    {27, "Command5", "Frame3"}, {30, "Command2", "Frame4"},  {32, "Command6", "Frame5"},
    {44, "Text12_0", "Frame5"}, {45, "Text12_1", "Frame5"},  {46, "Text12_2", "Frame5"},
    {47, "Text12_3", "Frame5"}, {48, "Text12_4", "Frame5"},  {49, "Text12_5", "Frame5"},
    {50, "Text12_6", "Frame5"}, {51, "Text12_7", "Frame5"},  {52, "Text12_8", "Frame5"},
    {53, "Text12_9", "Frame5"}, {54, "Text12_10", "Frame5"}, {57, "Text13", "Frame5"},
    {58, "Text14", "Frame5"},   {74, "Text21", "Frame6"},    {75, "Text22", "Frame6"},
    {77, "Command7", "Frame6"}, {78, "Command8", "Frame6"},
};

// The names Tab should reach from Text1, around to Text1 again.
std::vector<std::string> expectedWalk(const std::vector<std::string>& hiddenFrames) {
    std::vector<TabStop> stops;
    std::copy_if(tabStops.begin(), tabStops.end(), std::back_inserter(stops),
                 [&](const TabStop& s) {
                     return std::find(hiddenFrames.begin(), hiddenFrames.end(), s.frame) ==
                            hiddenFrames.end();
                 });
    std::sort(stops.begin(), stops.end(),
              [](const TabStop& a, const TabStop& b) { return a.tab < b.tab; });
    std::vector<std::string> names;
    for (std::size_t i = 1; i < stops.size(); ++i)
        names.emplace_back(stops[i].name);
    names.emplace_back(stops.front().name);
    return names;
}

std::vector<std::string> pressTab(std::size_t times) {
    std::vector<std::string> reached;
    for (std::size_t i = 0; i < times; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr)
            break;
        QTest::keyClick(focus, Qt::Key_Tab);
        reached.push_back(QApplication::focusWidget()
                              ? QApplication::focusWidget()->objectName().toStdString()
                              : std::string());
    }
    return reached;
}

TEST(Form1Keyboard, TabVisitsControlsInTabIndexOrderSkippingHiddenFrames) {
    Form1Layout form;
    ASSERT_TRUE(form.showActive());
    form.ui.Text1->setFocus();
    const auto expected = expectedWalk({"Frame4", "Frame6"});
    EXPECT_EQ(pressTab(expected.size()), expected);
}

TEST(Form1Keyboard, RevealedCalibrationFrameJoinsTheTabWalk) {
    Form1Layout form;
    ASSERT_TRUE(form.showActive());
    form.ui.Frame6->show();
    form.ui.Text1->setFocus();
    const auto expected = expectedWalk({"Frame4"});
    EXPECT_EQ(pressTab(expected.size()), expected);
}

TEST(Form1Keyboard, TypingIntoAReadOnlyBoxChangesNothing) {
    const char* const readOnly[] = {"Text9",    "Text10",   "Text11",   "Text12_0", "Text12_1",
                                    "Text12_2", "Text12_3", "Text12_4", "Text12_5", "Text12_6",
                                    "Text12_7", "Text12_8", "Text12_9", "Text12_10"};
    Form1Layout form;
    ASSERT_TRUE(form.showActive());
    for (const char* name : readOnly) {
        SCOPED_TRACE(name);
        auto* box = form.window.findChild<QLineEdit*>(name);
        ASSERT_NE(box, nullptr);
        box->setText("0");
        box->setFocus();
        ASSERT_TRUE(box->hasFocus());
        QTest::keyClicks(box, "12");
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), "0");
    }
}

TEST(Form1Keyboard, TypingIntoTheWaterAndDoorBoxesChangesThem) {
    Form1Layout form;
    ASSERT_TRUE(form.showActive());
    for (QLineEdit* box : {form.ui.Text13, form.ui.Text14}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->setText("0");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, "1");
        EXPECT_EQ(box->text(), "1");
    }
}

} // namespace
