#include "form1_layout.h"

#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

const char* const Frame = "QGroupBox";
const char* const Label = "QLabel";
const char* const Box = "QLineEdit";
const char* const Button = "QPushButton";

const std::string ideographicSpace = "\u3000";

std::string blanks(std::size_t n) { return std::string(n, ' '); }

struct Control {
    const char* name;
    const char* kind;
    const char* container;
    std::string text; // caption, or a box's default text
    QRect geometry;   // pixels, relative to the container's outer corner
};

const std::vector<Control>& controls() {
    static const std::vector<Control> table = {
        {"Frame1", Frame, "centralwidget", "Default Settting", {24, 8, 521, 281}},
        {"Frame2", Frame, "centralwidget", "X-ray Output", {24, 296, 521, 81}},
        {"Frame3", Frame, "centralwidget", "Parameters", {24, 384, 521, 105}},
        {"Frame5", Frame, "centralwidget", "Status", {24, 496, 521, 161}},
        {"Frame4", Frame, "centralwidget", "debug", {24, 688, 273, 73}},
        {"Frame6", Frame, "centralwidget", "A/D Calibration", {576, 8, 521, 89}},

        {"Label1", Label, "Frame1", "リミットパラメータ", {16, 24, 241, 17}},
        {"Label2",
         Label,
         "Frame1",
         "フィラメント電流リミット値（Ａ） MAX=5.0(10V)[3.8]",
         {16, 48, 257, 17}},
        {"Label3",
         Label,
         "Frame1",
         "KV最大出力値" + ideographicSpace + "MAX=60(10V) [50]",
         {16, 72, 185, 17}},
        {"Label4",
         Label,
         "Frame1",
         "mA最大出力値" + ideographicSpace + " 30,40,80 MAX=80(10V) [30]",
         {16, 96, 233, 17}},
        {"Label5", Label, "Frame1", "KV出力初期値" + blanks(2) + "[10]", {16, 120, 225, 17}},
        {"Label6", Label, "Frame1", "mA出力初期値" + blanks(2) + "[2]", {16, 144, 185, 17}},
        {"Label25", Label, "Frame1", "KV最小出力値", {16, 168, 225, 17}},
        {"Label26", Label, "Frame1", "mA最小出力値", {16, 192, 225, 17}},
        {"Label27",
         Label,
         "Frame1",
         "KV出力値関数 [0.1640][0.0001]" + ideographicSpace + " y =" + blanks(20) + "x +",
         {16, 224, 441, 17}},
        {"Label28",
         Label,
         "Frame1",
         "mA出力値関数 [0.1210][0.0000]" + blanks(2) + "y =" + blanks(20) + "x +",
         {16, 248, 441, 17}},
        {"Text1", Box, "Frame1", "2.0", {264, 24, 81, 18}},
        {"Text2", Box, "Frame1", "3.8", {264, 48, 81, 18}},
        {"Text3", Box, "Frame1", "50", {264, 72, 81, 18}},
        {"Text4", Box, "Frame1", "30", {264, 96, 81, 18}},
        {"Text5", Box, "Frame1", "10", {264, 120, 81, 18}},
        {"Text6", Box, "Frame1", "2", {264, 144, 81, 18}},
        {"Text15", Box, "Frame1", "10", {264, 168, 81, 18}},
        {"Text16", Box, "Frame1", "2", {264, 192, 81, 18}},
        {"Text17", Box, "Frame1", "0.1640", {216, 224, 57, 18}},
        {"Text18", Box, "Frame1", "0.0001", {304, 224, 57, 18}},
        {"Text19", Box, "Frame1", "0.1210", {216, 248, 57, 18}},
        {"Text20", Box, "Frame1", "0", {304, 248, 57, 18}},
        {"Command3", Button, "Frame1", "EEPROM WRITE", {376, 24, 113, 25}},
        {"Command1", Button, "Frame1", "EEPROM READ", {376, 136, 113, 25}},

        {"Label7", Label, "Frame2", "KV出力値", {16, 24, 241, 17}},
        {"Label8", Label, "Frame2", "mA出力値", {16, 48, 241, 17}},
        {"KV_UP", Button, "Frame2", "UP", {96, 24, 49, 17}},
        {"KV_DN", Button, "Frame2", "DWN", {152, 24, 49, 17}},
        {"Text7", Box, "Frame2", "10", {264, 24, 81, 18}},
        {"mA_UP", Button, "Frame2", "UP", {96, 48, 49, 17}},
        {"mA_DN", Button, "Frame2", "DWN", {152, 48, 49, 17}},
        {"Text8", Box, "Frame2", "2", {264, 48, 81, 18}},
        {"Command4", Button, "Frame2", "UPDATE", {376, 32, 113, 25}},

        {"Label9", Label, "Frame3", "KV", {16, 24, 241, 17}},
        {"Label10", Label, "Frame3", "mA", {16, 48, 241, 17}},
        {"Label11", Label, "Frame3", "FIL", {16, 72, 241, 17}},
        {"Text9", Box, "Frame3", "", {264, 24, 81, 18}},
        {"Text10", Box, "Frame3", "", {264, 48, 81, 18}},
        {"Text11", Box, "Frame3", "", {264, 72, 81, 18}},
        {"Command5", Button, "Frame3", "READ", {376, 48, 113, 25}},

        {"Label23", Label, "Frame5", "WATAR", {16, 24, 105, 17}},
        {"Label24", Label, "Frame5", "DOOR", {176, 24, 105, 17}},
        {"Label12", Label, "Frame5", "XRAY_STATUS", {16, 48, 105, 17}},
        {"Label13", Label, "Frame5", "OVER_VOLT_ERR", {16, 64, 105, 17}},
        {"Label14", Label, "Frame5", "KV_MIN_ERR", {16, 80, 105, 17}},
        {"Label15", Label, "Frame5", "OVER_PWE_ERR", {16, 96, 105, 17}},
        {"Label16", Label, "Frame5", "FIL_LMT_ERR", {16, 112, 105, 17}},
        {"Label17", Label, "Frame5", "OVER_CURR_ERR", {16, 128, 105, 17}},
        {"Label18", Label, "Frame5", "TEMP_ERR", {176, 64, 105, 17}},
        {"Label19", Label, "Frame5", "KV_REG_ERR", {176, 80, 105, 17}},
        {"Label20", Label, "Frame5", "mA_REG_ERR", {176, 96, 105, 17}},
        {"Label21", Label, "Frame5", "ARC_ERR", {176, 112, 105, 17}},
        {"Label22", Label, "Frame5", "OPEN_FIL_ERR", {176, 128, 105, 17}},
        {"Text13", Box, "Frame5", "", {120, 24, 25, 18}},
        {"Text14", Box, "Frame5", "", {264, 24, 25, 18}},
        {"Text12_0", Box, "Frame5", "", {120, 48, 25, 18}},
        {"Text12_1", Box, "Frame5", "", {120, 64, 25, 18}},
        {"Text12_2", Box, "Frame5", "", {120, 80, 25, 18}},
        {"Text12_3", Box, "Frame5", "", {120, 96, 25, 18}},
        {"Text12_4", Box, "Frame5", "", {120, 112, 25, 18}},
        {"Text12_5", Box, "Frame5", "", {120, 128, 25, 18}},
        {"Text12_6", Box, "Frame5", "", {264, 64, 25, 18}},
        {"Text12_7", Box, "Frame5", "", {264, 80, 25, 18}},
        {"Text12_8", Box, "Frame5", "", {264, 96, 25, 18}},
        {"Text12_9", Box, "Frame5", "", {264, 112, 25, 18}},
        {"Text12_10", Box, "Frame5", "", {264, 128, 25, 18}},
        {"Command6", Button, "Frame5", "READ", {376, 64, 113, 25}},

        {"Command2", Button, "Frame4", "Command2", {152, 24, 89, 25}},

        {"Command7", Button, "Frame6", "EEPROM WRITE", {384, 16, 113, 25}},
        {"Label29",
         Label,
         "Frame6",
         "A/D 補正値" + blanks(24) + ideographicSpace + " y =" + blanks(20) + "x +",
         {8, 32, 369, 17}},
        {"Text21", Box, "Frame6", "0.0861", {208, 32, 57, 18}},
        {"Text22", Box, "Frame6", "0.0501", {296, 32, 57, 18}},
        {"Command8", Button, "Frame6", "EEPROM READ", {384, 48, 113, 25}},
    };
    return table;
}

QString shownText(const QWidget* w) {
    if (auto* frame = qobject_cast<const QGroupBox*>(w))
        return frame->title();
    if (auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (auto* box = qobject_cast<const QLineEdit*>(w))
        return box->text();
    if (auto* button = qobject_cast<const QPushButton*>(w))
        return button->text();
    return {};
}

TEST(Form1Controls, EachControlHasItsKindContainerTextAndGeometry) {
    Form1Layout form;
    for (const Control& c : controls()) {
        SCOPED_TRACE(c.name);
        const auto found = form.window.findChildren<QWidget*>(c.name);
        ASSERT_EQ(found.size(), 1);
        const QWidget* w = found.front();
        EXPECT_STREQ(w->metaObject()->className(), c.kind);
        ASSERT_NE(w->parentWidget(), nullptr);
        EXPECT_EQ(w->parentWidget()->objectName(), c.container);
        EXPECT_EQ(shownText(w), QString::fromStdString(c.text));
        EXPECT_EQ(w->geometry(), c.geometry);
    }
}

TEST(Form1Controls, NoControlBeyondTheInventory) {
    Form1Layout form;
    const auto count = [&](const char* kind) {
        return std::count_if(controls().begin(), controls().end(),
                             [&](const Control& c) { return std::string_view(c.kind) == kind; });
    };
    EXPECT_EQ(form.window.findChildren<QGroupBox*>().size(), count(Frame));
    EXPECT_EQ(form.window.findChildren<QLabel*>().size(), count(Label));
    EXPECT_EQ(form.window.findChildren<QLineEdit*>().size(), count(Box));
    EXPECT_EQ(form.window.findChildren<QPushButton*>().size(), count(Button));
}

TEST(Form1Controls, MonitorAndFlagArrayBoxesAreReadOnlyButFocusable) {
    const std::vector<std::string> readOnly = {
        "Text9",    "Text10",   "Text11",   "Text12_0", "Text12_1", "Text12_2", "Text12_3",
        "Text12_4", "Text12_5", "Text12_6", "Text12_7", "Text12_8", "Text12_9", "Text12_10"};
    Form1Layout form;
    for (const Control& c : controls()) {
        if (std::string_view(c.kind) != Box)
            continue;
        SCOPED_TRACE(c.name);
        const auto* box = form.window.findChild<QLineEdit*>(c.name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->isReadOnly(), std::count(readOnly.begin(), readOnly.end(), c.name) == 1);
        EXPECT_TRUE(box->isEnabled());
        EXPECT_TRUE(box->focusPolicy() & Qt::TabFocus);
    }
}

TEST(Form1Controls, LabelsAreBorderlessLeftAlignedAndNeverTakeFocus) {
    Form1Layout form;
    for (const QLabel* label : form.window.findChildren<QLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_EQ(label->frameShape(), QFrame::NoFrame);
        EXPECT_TRUE(label->alignment() & Qt::AlignLeft);
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    }
}

TEST(Form1Controls, BoxesAndButtonsCoverTheLabelsTheyOverlap) {
    struct Overlap {
        const char* label;
        const char* control;
    };
    const Overlap overlaps[] = {
        {"Label2", "Text2"},     {"Label27", "Text17"},    {"Label27", "Text18"},
        {"Label28", "Text19"},   {"Label28", "Text20"},    {"Label7", "KV_UP"},
        {"Label7", "KV_DN"},     {"Label8", "mA_UP"},      {"Label8", "mA_DN"},
        {"Label23", "Text13"},   {"Label24", "Text14"},    {"Label12", "Text12_0"},
        {"Label17", "Text12_5"}, {"Label22", "Text12_10"}, {"Label29", "Text21"},
        {"Label29", "Text22"},
    };
    Form1Layout form;
    for (const Overlap& o : overlaps) {
        SCOPED_TRACE(std::string(o.label) + " under " + o.control);
        const auto* label = form.window.findChild<QWidget*>(o.label);
        auto* control = form.window.findChild<QWidget*>(o.control);
        ASSERT_TRUE(label && control);
        ASSERT_EQ(label->parentWidget(), control->parentWidget());
        const QRect shared = label->geometry().intersected(control->geometry());
        ASSERT_FALSE(shared.isEmpty());
        EXPECT_EQ(label->parentWidget()->childAt(shared.center()), control);
    }
}

// A glyph index of 0 is the font's missing-glyph box: no installed font drew the character.
TEST(Form1Controls, EveryCaptionCharacterHasAGlyph) {
    Form1Layout form;
    for (const Control& c : controls()) {
        SCOPED_TRACE(c.name);
        const auto* w = form.window.findChild<QWidget*>(c.name);
        ASSERT_NE(w, nullptr);
        QTextLayout layout(shownText(w), w->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns())
            for (quint32 glyph : run.glyphIndexes())
                EXPECT_NE(glyph, 0u) << run.rawFont().familyName().toStdString();
    }
}

TEST(Form1Controls, NoCaptionCarriesAnAccessKey) {
    Form1Layout form;
    for (const QWidget* w : form.window.findChildren<QWidget*>()) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_FALSE(shownText(w).contains('&'));
    }
    for (const QPushButton* button : form.window.findChildren<QPushButton*>())
        EXPECT_TRUE(button->shortcut().isEmpty()) << button->objectName().toStdString();
}

} // namespace
