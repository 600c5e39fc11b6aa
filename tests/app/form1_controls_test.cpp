#include "form1_rig.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Where a run of a caption lies, in pixels from the label's left edge.
struct CaptionRun {
    QString text;
    qreal left, right;
};

// Two or more blanks (U+3000 included) separate the runs that fall around boxes.
std::vector<CaptionRun> runs(const QLabel& label) {
    const QString caption = label.text();
    const QFontMetricsF metrics(label.font());
    std::vector<CaptionRun> found;
    qsizetype end = 0;
    for (const QString& text :
         caption.split(QRegularExpression("[ \\x{3000}]{2,}"), Qt::SkipEmptyParts)) {
        const qsizetype start = caption.indexOf(text, end);
        end = start + text.size();
        found.push_back({text, metrics.horizontalAdvance(caption.left(start)),
                         metrics.horizontalAdvance(caption.left(end))});
    }
    return found;
}

// Labels lie beneath the other controls: a box or button over a label hides that stretch.
std::vector<QRect> covers(const QLabel& label) {
    std::vector<QRect> found;
    for (const QWidget* control :
         label.parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<const QLabel*>(control) &&
            control->geometry().intersects(label.geometry())) {
            found.push_back(control->geometry().translated(-label.pos()));
        }
    }
    return found;
}

TEST(Form1Captions, EveryRunOfEveryCaptionShowsInFullAndHasItsGlyphs) {
    Form1Rig rig;
    const QFont font = rig.form.font();
    ASSERT_EQ(QFontInfo(font).family().toStdString(), font.family().toStdString())
        << "caption font not installed";
    for (const QLabel* label : rig.form.findChildren<QLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString());
        for (const CaptionRun& run : runs(*label)) {
            SCOPED_TRACE(run.text.toStdString());
            EXPECT_LE(run.right, label->width());
            for (const QRect& cover : covers(*label)) {
                EXPECT_TRUE(run.right <= cover.left() || run.left >= cover.right() + 1)
                    << run.left << ".." << run.right << " under " << cover.left() << ".."
                    << cover.right() + 1;
            }
        }
        // Glyph 0 is the missing-glyph box: no installed font draws the character.
        QTextLayout layout(label->text(), label->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& glyphs : layout.glyphRuns()) {
            EXPECT_FALSE(glyphs.glyphIndexes().contains(0u))
                << glyphs.rawFont().familyName().toStdString();
        }
    }
}

// y = (slope) x + (offset): the boxes sit in the blanks of the label's caption.
TEST(Form1Captions, FunctionLinesReadYThenSlopeThenXThenOffset) {
    Form1Rig rig;
    struct Case {
        const char* label;
        const char* slope;
        const char* offset;
    };
    for (const Case& c : {Case{"Label27", "Text17", "Text18"}, Case{"Label28", "Text19", "Text20"},
                          Case{"Label29", "Text21", "Text22"}}) {
        SCOPED_TRACE(c.label);
        const auto* label = rig.child<QLabel>(c.label);
        const QRect slope = rig.child<QLineEdit>(c.slope)->geometry().translated(-label->pos());
        const QRect offset = rig.child<QLineEdit>(c.offset)->geometry().translated(-label->pos());
        const auto found = runs(*label);
        ASSERT_EQ(found.size(), 3u);
        EXPECT_EQ(found[1].text, "y =");
        EXPECT_LE(found[1].right, slope.left());
        EXPECT_EQ(found[2].text, "x +");
        EXPECT_GE(found[2].left, slope.right() + 1);
        EXPECT_LE(found[2].right, offset.left());
    }
}

} // namespace
