#include "form1_rig.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

TEST(Form1Window, ShownControlsFitTheClientAreaAndTheCalibrationFrameRevealsBeyondIt) {
    Form1Rig rig;
    rig.form.show();
    const QWidget* client = rig.form.centralWidget();
    EXPECT_EQ(client->size(), QSize(571, 666));
    EXPECT_EQ(client->y(), rig.form.menuBar()->height());
    for (const QGroupBox* frame : client->findChildren<QGroupBox*>()) {
        SCOPED_TRACE(frame->objectName().toStdString());
        const bool hidden = frame->objectName() == "Frame4" || frame->objectName() == "Frame6";
        EXPECT_EQ(frame->isVisible(), !hidden);
        EXPECT_TRUE(hidden || client->rect().contains(frame->geometry()));
    }
    const QSize before = rig.form.size();
    rig.form.showFrame("Frame6");
    QApplication::processEvents();
    EXPECT_TRUE(rig.child<QGroupBox>("Frame6")->isVisible());
    EXPECT_EQ(rig.form.size(), before);
    EXPECT_FALSE(client->rect().intersects(rig.child<QGroupBox>("Frame6")->geometry()));
}

TEST(Form1Window, FocusStartsInText1AndTabFollowsTabOrderSkippingHiddenFrames) {
    const QString expected =
        "Text1 Text2 Text3 Text4 Text5 Text6 Command3 Text7 Text8 Command4 Text9 Text10 Text11 "
        "Command5 Command1 Command6 Text12_0 Text12_1 Text12_2 Text12_3 Text12_4 Text12_5 "
        "Text12_6 Text12_7 Text12_8 Text12_9 Text12_10 Text13 Text14 Text15 Text16 Text17 Text18 "
        "Text19 Text20 KV_UP KV_DN mA_UP mA_DN Text1";
    Form1Rig rig;
    ASSERT_TRUE(rig.showActive());
    QStringList reached;
    while (reached.size() <= expected.count(' ') && QApplication::focusWidget() != nullptr) {
        reached << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(reached.join(' ').toStdString(), expected.toStdString());
}

// The monitor and flag boxes are the program's to write; Text13 and Text14 take typing.
TEST(Form1Window, TypingChangesEveryBoxButTheMonitorAndFlagBoxes) {
    Form1Rig rig;
    ASSERT_TRUE(rig.showActive());
    for (QLineEdit* box : rig.form.findChildren<QLineEdit*>()) {
        const QString name = box->objectName();
        SCOPED_TRACE(name.toStdString());
        const bool readOnly =
            name == "Text9" || name == "Text10" || name == "Text11" || name.startsWith("Text12_");
        box->setText("0");
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, "1");
        EXPECT_EQ(box->text(), readOnly ? "0" : "1");
    }
}

// A checkable entry flips its own mark before its handler runs: clicked twice, it stays.
TEST(Form1Window, MonitoringEntriesKeepOneMark) {
    Form1Rig rig;
    for (int click = 0; click < 2; ++click) {
        rig.child<QAction>("IntervalStart")->trigger();
    }
    EXPECT_TRUE(rig.child<QAction>("IntervalStart")->isChecked());
    EXPECT_FALSE(rig.child<QAction>("IntervalStop")->isChecked());
}

} // namespace
