#include "form1_layout.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

const QSize clientArea(571, 666);

TEST(Form1Window, CaptionIsTheProgramNameAndVersion) {
    Form1Layout form;
    EXPECT_EQ(form.window.windowTitle(), "Kelvara Ver.2.0.1");
}

TEST(Form1Window, ClientAreaBelowTheMenuBarIsTheDesignSizeAtStart) {
    Form1Layout form;
    form.window.show();
    EXPECT_EQ(form.window.centralWidget(), form.ui.centralwidget);
    EXPECT_EQ(form.ui.centralwidget->size(), clientArea);
    EXPECT_EQ(form.ui.centralwidget->y(), form.ui.menubar->height());
}

TEST(Form1Window, OnlyDebugAndCalibrationFramesAreHiddenAtStart) {
    struct Case {
        const char* frame;
        bool visible;
    };
    const Case cases[] = {{"Frame1", true}, {"Frame2", true},  {"Frame3", true},
                          {"Frame5", true}, {"Frame4", false}, {"Frame6", false}};
    Form1Layout form;
    form.window.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        const auto* frame = form.window.findChild<QWidget*>(c.frame);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->isVisible(), c.visible);
    }
}

TEST(Form1Window, DebugFrameLiesBelowTheClientArea) {
    Form1Layout form;
    EXPECT_GE(form.ui.Frame4->geometry().top(), clientArea.height());
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

TEST(Form1Window, WideningTheWindowBringsTheCalibrationFrameIntoView) {
    Form1Layout form;
    form.window.show();
    form.ui.Frame6->show();
    form.window.resize(1100, form.window.height());
    QApplication::processEvents();
    EXPECT_TRUE(form.ui.centralwidget->rect().contains(form.ui.Frame6->geometry()));
}

TEST(Form1Window, FocusIsInTheFirstParameterBoxAtFirstDisplay) {
    Form1Layout form;
    ASSERT_TRUE(form.showActive());
    EXPECT_EQ(QApplication::focusWidget(), form.ui.Text1);
}

} // namespace
