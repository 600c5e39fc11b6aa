#include "form1_layout.h"

#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const Frame = "QGroupBox";
const char* const Label = "QLabel";
const char* const Box = "QLineEdit";
const char* const Button = "QPushButton";

std::string blanks(std::size_t n) { return std::string(n, ' '); }

struct Control {
    const char* name;
    const char* kind;
    const char* container;
    int x, y, width, height; // pixels, relative to the container's outer corner
    std::string text;        // caption, or a box's default text; "\u3000" is the ideographic space
};

const std::vector<Control> controls = {
    {"Frame1", Frame, "centralwidget", 24, 8, 521, 281, "Default Settting"},
    {"Frame2", Frame, "centralwidget", 24, 296, 521, 81, "X-ray Output"},
    {"Frame3", Frame, "centralwidget", 24, 384, 521, 105, "Parameters"},
    {"Frame5", Frame, "centralwidget", 24, 496, 521, 161, "Status"},
    {"Frame4", Frame, "centralwidget", 24, 688, 273, 73, "debug"},
    {"Frame6", Frame, "centralwidget", 576, 8, 521, 89, "A/D Calibration"},
    {"Label1", Label, "Frame1", 16, 24, 241, 17, "リミットパラメータ"},
    {"Label2", Label, "Frame1", 16, 48, 257, 17,
     "フィラメント電流リミット値（Ａ） MAX=5.0(10V)[3.8]"},
    {"Label3", Label, "Frame1", 16, 72, 185, 17, "KV最大出力値\u3000MAX=60(10V) [50]"},
    {"Label4", Label, "Frame1", 16, 96, 233, 17, "mA最大出力値\u3000 30,40,80 MAX=80(10V) [30]"},
    {"Label5", Label, "Frame1", 16, 120, 225, 17, "KV出力初期値  [10]"},
    {"Label6", Label, "Frame1", 16, 144, 185, 17, "mA出力初期値  [2]"},
    {"Label25", Label, "Frame1", 16, 168, 225, 17, "KV最小出力値"},
    {"Label26", Label, "Frame1", 16, 192, 225, 17, "mA最小出力値"},
    {"Label27", Label, "Frame1", 16, 224, 441, 17,
     "KV出力値関数 [0.1640][0.0001]\u3000 y =" + blanks(20) + "x +"},
    {"Label28", Label, "Frame1", 16, 248, 441, 17,
     "mA出力値関数 [0.1210][0.0000]  y =" + blanks(20) + "x +"},
    {"Text1", Box, "Frame1", 264, 24, 81, 18, "2.0"},
    {"Text2", Box, "Frame1", 264, 48, 81, 18, "3.8"},
    {"Text3", Box, "Frame1", 264, 72, 81, 18, "50"},
    {"Text4", Box, "Frame1", 264, 96, 81, 18, "30"},
    {"Text5", Box, "Frame1", 264, 120, 81, 18, "10"},
    {"Text6", Box, "Frame1", 264, 144, 81, 18, "2"},
    {"Text15", Box, "Frame1", 264, 168, 81, 18, "10"},
    {"Text16", Box, "Frame1", 264, 192, 81, 18, "2"},
    {"Text17", Box, "Frame1", 216, 224, 57, 18, "0.1640"},
    {"Text18", Box, "Frame1", 304, 224, 57, 18, "0.0001"},
    {"Text19", Box, "Frame1", 216, 248, 57, 18, "0.1210"},
    {"Text20", Box, "Frame1", 304, 248, 57, 18, "0"},
    {"Command3", Button, "Frame1", 376, 24, 113, 25, "EEPROM WRITE"},
    {"Command1", Button, "Frame1", 376, 136, 113, 25, "EEPROM READ"},
    {"Label7", Label, "Frame2", 16, 24, 241, 17, "KV出力値"},
    {"Label8", Label, "Frame2", 16, 48, 241, 17, "mA出力値"},
    {"KV_UP", Button, "Frame2", 96, 24, 49, 17, "UP"},
    {"KV_DN", Button, "Frame2", 152, 24, 49, 17, "DWN"},
    {"Text7", Box, "Frame2", 264, 24, 81, 18, "10"},
    {"mA_UP", Button, "Frame2", 96, 48, 49, 17, "UP"},
    {"mA_DN", Button, "Frame2", 152, 48, 49, 17, "DWN"},
    {"Text8", Box, "Frame2", 264, 48, 81, 18, "2"},
    {"Command4", Button, "Frame2", 376, 32, 113, 25, "UPDATE"},
    {"Label9", Label, "Frame3", 16, 24, 241, 17, "KV"},
    {"Label10", Label, "Frame3", 16, 48, 241, 17, "mA"},
    {"Label11", Label, "Frame3", 16, 72, 241, 17, "FIL"},
    {"Text9", Box, "Frame3", 264, 24, 81, 18, ""},
    {"Text10", Box, "Frame3", 264, 48, 81, 18, ""},
    {"Text11", Box, "Frame3", 264, 72, 81, 18, ""},
    {"Command5", Button, "Frame3", 376, 48, 113, 25, "READ"},
    {"Label23", Label, "Frame5", 16, 24, 105, 17, "WATAR"},
    {"Label24", Label, "Frame5", 176, 24, 105, 17, "DOOR"},
    {"Label12", Label, "Frame5", 16, 48, 105, 17, "XRAY_STATUS"},
    {"Label13", Label, "Frame5", 16, 64, 105, 17, "OVER_VOLT_ERR"},
    {"Label14", Label, "Frame5", 16, 80, 105, 17, "KV_MIN_ERR"},
    {"Label15", Label, "Frame5", 16, 96, 105, 17, "OVER_PWE_ERR"},
    {"Label16", Label, "Frame5", 16, 112, 105, 17, "FIL_LMT_ERR"},
    {"Label17", Label, "Frame5", 16, 128, 105, 17, "OVER_CURR_ERR"},
    {"Label18", Label, "Frame5", 176, 64, 105, 17, "TEMP_ERR"},
    {"Label19", Label, "Frame5", 176, 80, 105, 17, "KV_REG_ERR"},
    {"Label20", Label, "Frame5", 176, 96, 105, 17, "mA_REG_ERR"},
    {"Label21", Label, "Frame5", 176, 112, 105, 17, "ARC_ERR"},
    {"Label22", Label, "Frame5", 176, 128, 105, 17, "OPEN_FIL_ERR"},
    {"Text13", Box, "Frame5", 120, 24, 25, 18, ""},
    {"Text14", Box, "Frame5", 264, 24, 25, 18, ""},
    {"Text12_0", Box, "Frame5", 120, 48, 25, 18, ""},
    {"Text12_1", Box, "Frame5", 120, 64, 25, 18, ""},
    {"Text12_2", Box, "Frame5", 120, 80, 25, 18, ""},
    {"Text12_3", Box, "Frame5", 120, 96, 25, 18, ""},
    {"Text12_4", Box, "Frame5", 120, 112, 25, 18, ""},
    {"Text12_5", Box, "Frame5", 120, 128, 25, 18, ""},
    {"Text12_6", Box, "Frame5", 264, 64, 25, 18, ""},
    {"Text12_7", Box, "Frame5", 264, 80, 25, 18, ""},
    {"Text12_8", Box, "Frame5", 264, 96, 25, 18, ""},
    {"Text12_9", Box, "Frame5", 264, 112, 25, 18, ""},
    {"Text12_10", Box, "Frame5", 264, 128, 25, 18, ""},
    {"Command6", Button, "Frame5", 376, 64, 113, 25, "READ"},
    {"Command2", Button, "Frame4", 152, 24, 89, 25, "Command2"},
    {"Command7", Button, "Frame6", 384, 16, 113, 25, "EEPROM WRITE"},
    {"Label29", Label, "Frame6", 8, 32, 369, 17,
     "A/D 補正値" + blanks(24) + "\u3000 y =" + blanks(20) + "x +"},
    {"Text21", Box, "Frame6", 208, 32, 57, 18, "0.0861"},
    {"Text22", Box, "Frame6", 296, 32, 57, 18, "0.0501"},
    {"Command8", Button, "Frame6", 384, 48, 113, 25, "EEPROM READ"},
};

QString shownText(const QWidget* w) {
    return w->property(qobject_cast<const QGroupBox*>(w) ? "title" : "text").toString();
}

TEST(Form1Controls, EachControlHasItsKindContainerTextAndGeometry) {
    Form1Layout form;
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        const auto found = form.window.findChildren<QWidget*>(c.name);
        ASSERT_EQ(found.size(), 1);
        EXPECT_STREQ(found.front()->metaObject()->className(), c.kind);
        EXPECT_EQ(found.front()->parentWidget()->objectName(), c.container);
        EXPECT_EQ(shownText(found.front()), QString::fromStdString(c.text));
        EXPECT_EQ(found.front()->geometry(), QRect(c.x, c.y, c.width, c.height));
    }
    EXPECT_EQ(form.ui.centralwidget->findChildren<QWidget*>().size(), controls.size())
        << "a control beyond the inventory";
}

TEST(Form1Controls, OnlyMonitorAndFlagBoxesAreReadOnlyAndEveryBoxTakesFocus) {
    Form1Layout form;
    for (const QLineEdit* box : form.window.findChildren<QLineEdit*>()) {
        const QString name = box->objectName();
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(box->isReadOnly(), name == "Text9" || name == "Text10" || name == "Text11" ||
                                         name.startsWith("Text12_"));
        EXPECT_TRUE(box->isEnabled());
        EXPECT_TRUE(box->focusPolicy() & Qt::TabFocus);
    }
}

// Label27 and Label7 run beneath these.
TEST(Form1Controls, BoxesAndButtonsLieAboveTheLabelsBeneathThem) {
    Form1Layout form;
    for (QWidget* control : std::initializer_list<QWidget*>{form.ui.Text18, form.ui.KV_DN}) {
        const QPoint centre = control->geometry().center();
        EXPECT_EQ(control->parentWidget()->childAt(centre), control)
            << control->objectName().toStdString();
    }
}

// A glyph index of 0 is the font's missing-glyph box: no installed font drew the character.
TEST(Form1Controls, EveryCaptionCharacterHasAGlyph) {
    Form1Layout form;
    for (const Control& c : controls) {
        const QWidget* w = form.window.findChild<QWidget*>(c.name);
        ASSERT_NE(w, nullptr) << c.name;
        QTextLayout layout(shownText(w), w->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns())
            for (quint32 glyph : run.glyphIndexes())
                EXPECT_NE(glyph, 0u) << c.name << " " << run.rawFont().familyName().toStdString();
    }
}

} // namespace
