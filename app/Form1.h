#pragma once

#include <QMainWindow>
#include <QTimer>
#include <map>
#include <memory>
#include <string>

#include "operations/window.h"

class MessageBoxes;
class ProcessRunner;
class TonePlayer;
class QAction;
class QLineEdit;
class QCloseEvent;
struct Form1Session;

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
    // COM names only through the port-link folder: no serial port of the host is probed.
    bool linksOnly = false;
};

// The one window. It owns the module state, the serial control and Timer1 for the whole run,
// and wires each control's event to its procedure.
class Form1 : public QMainWindow, public Window {
    Q_OBJECT
public:
    explicit Form1(Form1Seams seams, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up before the window is shown. False when no controller was found: the program
    // ends without showing the window.
    bool Form_Load();

    // Diagnostics the technician asks for before start-up.
    void traceTo(const std::string& path);
    void recordTo(const std::string& path);
    // Start-up probes only this port instead of scanning.
    void choosePort(int16_t port);

    std::string text(const std::string& box) override;
    void setText(const std::string& box, const std::string& text) override;
    void showFrame(const std::string& frame) override;
    bool timerEnabled() override;
    void setTimerEnabled(bool enabled) override;
    void setChecked(const std::string& menuEntry, bool checked) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // What the tests reach behind the window's controls: the module state and the link.
    friend struct Form1Access;

    void Form_Unload();
    void End_Click();
    void wireEvents();
    // Runs one event procedure and logs what it raised with the procedure's name.
    template <typename Procedure> void eventProcedure(const char* name, Procedure procedure);
    QLineEdit* box(const std::string& name);

    std::unique_ptr<Ui::Form1> ui;
    std::unique_ptr<Form1Session> session_;
    QTimer Timer1{this};
    std::map<std::string, QLineEdit*> boxes_;
    std::map<std::string, QAction*> entries_;
};
