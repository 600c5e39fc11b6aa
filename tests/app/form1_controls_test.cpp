#include "form1_rig.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QLabel>
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

} // namespace
