// The real window, never loaded, against the invariants of its layout: every caption shows in
// full beside the controls over it, the shown controls fit the client area (only the
// calibration frame lies beyond it), the tab order, each control Tab reaches scrolled into view
// on the offscreen platform's screen, lower than the design, and the read-only boxes.

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <gtest/gtest.h>

#include "tests/e2e/window_rig.h"

TEST(Form1Window, LayoutInvariants) {
    WindowRig rig;
    Form1& form = *rig.form;
    ASSERT_EQ(QFontInfo(form.font()).family(), form.font().family()) << "font missing";
    // Two or more blanks (U+3000 included) separate the runs of a caption that fall around
    // boxes; labels lie beneath the other controls, so a box or button over a label hides that
    // stretch.
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        const QString caption = label->text();
        qsizetype end = 0;
        for (const QString& run :
             caption.split(QRegularExpression("[ \\x{3000}]{2,}"), Qt::SkipEmptyParts)) {
            SCOPED_TRACE((label->objectName() + ": " + run).toStdString());
            const qsizetype start = caption.indexOf(run, end);
            end = start + run.size();
            const QFontMetricsF metrics(label->font());
            const qreal left = label->x() + metrics.horizontalAdvance(caption.left(start));
            const qreal right = label->x() + metrics.horizontalAdvance(caption.left(end));
            EXPECT_LE(right, label->geometry().right() + 1);
            for (const QWidget* cover :
                 label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                const QRect over = cover->geometry();
                EXPECT_TRUE(qobject_cast<const QLabel*>(cover) ||
                            !over.intersects(label->geometry()) || right <= over.left() ||
                            left >= over.right() + 1)
                    << left << ".." << right << " under " << cover->objectName().toStdString();
            }
        }
    }
    // Focus only moves in an active window, also under the offscreen platform.
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_TRUE(form.screen()->availableGeometry().contains(form.frameGeometry()));
    const QWidget* viewport = qobject_cast<QScrollArea*>(form.centralWidget())->viewport();
    const auto inView = [&](const QString& name) {
        const QWidget* w = form.findChild<QWidget*>(name);
        return w != nullptr &&
               viewport->rect().contains(QRect(w->mapTo(viewport, QPoint()), w->size()));
    };
    const QWidget* client = form.findChild<QWidget*>("centralwidget");
    EXPECT_EQ(client->size(), QSize(571, 666));
    for (const QGroupBox* frame : client->findChildren<QGroupBox*>()) {
        const bool hidden = frame->objectName() == "Frame4" || frame->objectName() == "Frame6";
        EXPECT_EQ(frame->isVisible(), !hidden) << frame->objectName().toStdString();
        EXPECT_TRUE(hidden || client->rect().contains(frame->geometry()));
    }
    // Tab goes from Text1 round the shown controls, past the hidden frames.
    const QString expected =
        "Text1 Text2 Text3 Text4 Text5 Text6 Command3 Text7 Text8 Command4 Text9 Text10 Text11 "
        "Command5 Command1 Command6 Text12_0 Text12_1 Text12_2 Text12_3 Text12_4 Text12_5 "
        "Text12_6 Text12_7 Text12_8 Text12_9 Text12_10 Text13 Text14 Text15 Text16 Text17 Text18 "
        "Text19 Text20 KV_UP KV_DN mA_UP mA_DN Text1";
    QStringList reached;
    while (reached.size() <= expected.count(' ') && QApplication::focusWidget() != nullptr) {
        reached << QApplication::focusWidget()->objectName();
        EXPECT_TRUE(inView(reached.last())) << reached.last().toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(reached.join(" ").toStdString(), expected.toStdString());
    // The monitor and flag boxes are the program's to write; the others take typing.
    for (QLineEdit* box : form.findChildren<QLineEdit*>()) {
        box->setText("0");
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, "1");
        const bool readOnly =
            QRegularExpression("^Text(9|10|11|12_.*)$").match(box->objectName()).hasMatch();
        EXPECT_EQ(box->text(), readOnly ? "0" : "1") << box->objectName().toStdString();
    }
    // The calibration frame opens beyond the client area without resizing the window; Tab
    // scrolls to it.
    const QSize before = form.size();
    form.showFrame("Frame6");
    QApplication::processEvents();
    EXPECT_TRUE(form.findChild<QGroupBox*>("Frame6")->isVisible());
    EXPECT_EQ(form.size(), before);
    EXPECT_FALSE(inView("Frame6"));
    form.findChild<QWidget*>("mA_DN")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(inView("Text21"));
}
