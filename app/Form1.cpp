#include "app/Form1.h"

#include <QCloseEvent>
#include <QFont>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <stdexcept>

#include "app/form1_session.h"
#include "operations/ad_calibration.h"
#include "operations/beeps.h"
#include "operations/interval_monitoring.h"
#include "operations/lifecycle.h"
#include "operations/output_monitor.h"
#include "operations/parameter_read.h"
#include "operations/parameter_write.h"
#include "operations/pending_warnings.h"
#include "operations/set_points.h"
#include "operations/status_flags.h"
#include "serial/port_discovery.h"
#include "ui_Form1.h"

namespace {

constexpr int kTimerIntervalMs = 100;
// The design size of the client area; the menu bar comes on top of it.
constexpr int kClientWidth = 571;
constexpr int kClientHeight = 666;

// "Text12_3" in the layout is the control array element "Text12(3)".
std::string controlName(const QString& objectName) {
    const auto underscore = objectName.indexOf('_');
    if (objectName.startsWith("Text") && underscore > 0) {
        return (objectName.left(underscore) + "(" + objectName.mid(underscore + 1) + ")")
            .toStdString();
    }
    return objectName.toStdString();
}

} // namespace

Form1::Form1(Form1Seams seams, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::Form1>()),
      session_(std::make_unique<Form1Session>(std::move(seams), *this)) {
    ui->setupUi(this);
    // Whole-pixel advances: the blank runs of the function lines then set "y =" before the
    // slope box and "x +" between the two boxes.
    QFont captions = font();
    captions.setHintingPreference(QFont::PreferFullHinting);
    setFont(captions);
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    for (auto* edit : findChildren<QLineEdit*>()) {
        boxes_[controlName(edit->objectName())] = edit;
    }
    for (auto* action : findChildren<QAction*>()) {
        entries_[action->objectName().toStdString()] = action;
    }
    Timer1.setObjectName("Timer1");
    Timer1.setInterval(kTimerIntervalMs);
    Timer1.setTimerType(Qt::PreciseTimer);
    wireEvents();
    ui->Text1->setFocus();
}

Form1::~Form1() = default;

template <typename Procedure> void Form1::eventProcedure(const char* name, Procedure procedure) {
    if (const auto failure = runEventProcedure(session_->panel, procedure)) {
        qCritical("%s: %s", name, failure->c_str());
    }
}

void Form1::wireEvents() {
    const auto wire = [this](auto* sender, auto signal, auto procedure, const char* name) {
        connect(sender, signal, this, [this, procedure, name] { eventProcedure(name, procedure); });
    };
    wire(ui->Command1, &QPushButton::clicked, Command1_Click, "Command1_Click");
    wire(ui->Command2, &QPushButton::clicked, Command2_Click, "Command2_Click");
    wire(ui->Command3, &QPushButton::clicked, Command3_Click, "Command3_Click");
    wire(ui->Command4, &QPushButton::clicked, Command4_Click, "Command4_Click");
    wire(ui->Command5, &QPushButton::clicked, Command5_Click, "Command5_Click");
    wire(ui->Command6, &QPushButton::clicked, Command6_Click, "Command6_Click");
    wire(ui->Command7, &QPushButton::clicked, Command7_Click, "Command7_Click");
    wire(ui->Command8, &QPushButton::clicked, Command8_Click, "Command8_Click");
    wire(ui->KV_UP, &QPushButton::clicked, KV_UP_Click, "KV_UP_Click");
    wire(ui->KV_DN, &QPushButton::clicked, KV_DN_Click, "KV_DN_Click");
    wire(ui->mA_UP, &QPushButton::clicked, mA_UP_Click, "mA_UP_Click");
    wire(ui->mA_DN, &QPushButton::clicked, mA_DN_Click, "mA_DN_Click");
    wire(ui->IntervalStart, &QAction::triggered, IntervalStart_Click, "IntervalStart_Click");
    wire(ui->IntervalStop, &QAction::triggered, IntervalStop_Click, "IntervalStop_Click");
    wire(ui->AD_Calibration, &QAction::triggered, AD_Calibration_Click, "AD_Calibration_Click");
    connect(&Timer1, &QTimer::timeout, this, [this] {
        eventProcedure("Timer1_Timer",
                       [this](Panel& p) { session_->diagnostics.monitoringTick(p); });
    });
    connect(ui->End, &QAction::triggered, this, [this] { End_Click(); });
}

bool Form1::Form_Load() {
    auto& s = *session_;
    return loadSession(s.serial, s.panel, s.seams.tones, s.portChoice);
}

void Form1::traceTo(const std::string& path) { session_->diagnostics.traceTo(path); }

void Form1::recordTo(const std::string& path) { session_->diagnostics.recordTo(path); }

void Form1::choosePort(int16_t port) {
    session_->m.i_comPort = port;
    session_->portChoice = PortChoice::Probe;
}

void Form1::Form_Unload() {
    if (unloadSession(session_->serial)) {
        Timer1.stop();
    }
}

void Form1::End_Click() {
    if (session_->m.bUnloading) {
        return;
    }
    BeepNG(session_->seams.tones);
    close();
}

void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

QLineEdit* Form1::box(const std::string& name) {
    const auto found = boxes_.find(name);
    if (found == boxes_.end()) {
        throw std::invalid_argument("no text box " + name);
    }
    return found->second;
}

std::string Form1::text(const std::string& name) { return box(name)->text().toStdString(); }

void Form1::setText(const std::string& name, const std::string& text) {
    box(name)->setText(QString::fromStdString(text));
}

void Form1::showFrame(const std::string& frame) {
    auto* group = findChild<QGroupBox*>(QString::fromStdString(frame));
    if (group == nullptr) {
        throw std::invalid_argument("no frame " + frame);
    }
    group->setVisible(true);
}

bool Form1::timerEnabled() { return Timer1.isActive(); }

void Form1::setTimerEnabled(bool enabled) {
    if (!enabled) {
        Timer1.stop();
    } else if (!Timer1.isActive()) {
        Timer1.start();
    }
}

void Form1::setChecked(const std::string& menuEntry, bool checked) {
    const auto found = entries_.find(menuEntry);
    if (found == entries_.end()) {
        throw std::invalid_argument("no menu entry " + menuEntry);
    }
    found->second->setChecked(checked);
}
