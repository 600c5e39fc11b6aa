#pragma once

#include <QMainWindow>
#include <QTimer>
#include <map>
#include <memory>
#include <string>

#include "session/session_window.h"

class MessageBoxes;
class ProcessRunner;
class Session;
class TonePlayer;
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
    // COM names only through the port-link folder: no serial port of the host is probed.
    bool linksOnly = false;
};

// The one window: its controls over the session, to which it forwards every event by
// control name. It owns the serial control, the event pump and Timer1 for the whole run.
class Form1 : public QMainWindow, public SessionWindow {
    Q_OBJECT
public:
    explicit Form1(Form1Seams seams, QWidget* parent = nullptr);
    ~Form1() override;

    Session& session() { return *session_; }

    std::string text(BoxName box) override;
    void setText(BoxName box, const std::string& text) override;
    void showFrame(FrameName frame) override;
    bool timerEnabled() override;
    void setTimerEnabled(bool enabled) override;
    void setChecked(MenuName menuEntry, bool checked) override;
    void close() override { QMainWindow::close(); }
    void endDialogs() override;
    void quit() override;
    void logFault(const std::string& text) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Facilities;

    void fitContent();

    std::unique_ptr<Ui::Form1> ui;
    std::unique_ptr<Facilities> facilities_;
    std::unique_ptr<Session> session_;
    QTimer Timer1{this};
    std::map<BoxName, QLineEdit*> boxes_;
    std::map<MenuName, QAction*> entries_;
};
