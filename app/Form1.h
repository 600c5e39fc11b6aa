#pragma once

#include <QMainWindow>
#include <QTimer>
#include <map>
#include <memory>

#include "common/local_timestamp.h"
#include "operations/field_diagnostics.h"
#include "operations/lifecycle.h"
#include "operations/panel.h"
#include "operations/window.h"
#include "platform/linux/com_name_table.h"
#include "platform/linux/steady_counter.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_serial_control.h"
#include "platform/tone_player.h"
#include "serial/clock.h"
#include "serial/module_state.h"
#include "serial/serial_context.h"
#include "serial/serial_link.h"
#include "serial/traced_message_boxes.h"

class QAction;
class QLineEdit;
class QCloseEvent;

namespace Ui {
class Form1;
}

// The outside facilities the window works through; tests substitute their own.
struct Form1Seams {
    MessageBoxes& boxes;
    TonePlayer& tones;
    ProcessRunner& console;
    std::string consoleProgram;
    std::string portLinkFolder;
    std::string workFolder;
    ComNameTable::Scope scope = ComNameTable::Scope::Full;
};

// The one window. It owns the module state, the serial control and the timer for the whole
// run, and wires each control's event to its procedure.
class Form1 : public QMainWindow, public Window {
    Q_OBJECT
public:
    explicit Form1(Form1Seams seams, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up before the window is shown. False when no controller was found: the program
    // ends without showing the window.
    bool Form_Load();

    // Diagnostics the technician asks for before start-up.
    void traceTo(const std::string& path) { diagnostics_.traceTo(path); }
    void recordTo(const std::string& path) { diagnostics_.recordTo(path); }
    // Start-up probes only this port instead of scanning.
    void choosePort(int16_t port);

    ModuleState& state() { return m_; }
    QTimer& timer() { return Timer1; }
    SerialContext& serial() { return serial_; }

    std::string text(const std::string& box) override;
    void setText(const std::string& box, const std::string& text) override;
    void showFrame(const std::string& frame) override;
    bool timerEnabled() override;
    void setTimerEnabled(bool enabled) override;
    void setChecked(const std::string& menuEntry, bool checked) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Unload();
    void End_Click();
    void wireEvents();
    // Runs one event procedure: nothing it raises may cross the event loop, and warnings
    // held back during a transaction are shown once the link is idle.
    template <typename Procedure> void eventProcedure(const char* name, Procedure procedure);
    QLineEdit* box(const std::string& name);

    std::unique_ptr<Ui::Form1> ui;
    Form1Seams seams_;
    TracedMessageBoxes messages_{seams_.boxes};
    ModuleState m_;
    SteadyMillisecondCounter counter_;
    Clock clock_{counter_};
    QtEventPump pump_;
    QtSerialControl MSComm5;
    SerialContext serial_;
    SerialLink link_{serial_};
    Panel panel_{m_, link_, *this, messages_};
    PortChoice portChoice_ = PortChoice::Scan;
    FieldDiagnostics diagnostics_{serial_, messages_, localTimestamp};
    QTimer Timer1;
    std::map<std::string, QLineEdit*> boxes_;
    std::map<std::string, QAction*> entries_;
};
