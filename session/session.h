#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "common/local_timestamp.h"
#include "operations/control_names.h"
#include "operations/field_diagnostics.h"
#include "operations/panel.h"
#include "platform/tone_player.h"
#include "serial/clock.h"
#include "serial/module_state.h"
#include "serial/serial_context.h"
#include "serial/serial_link.h"
#include "serial/traced_message_boxes.h"
#include "session/lifecycle.h"
#include "session/session_window.h"

// The outside facilities a front end builds for the session.
struct SessionSeams {
    MessageBoxes& boxes;
    TonePlayer& tones;
    ProcessRunner& console;
    SerialControl& MSComm5;
    MillisecondCounter& counter;
    EventPump& pump;
    std::string consoleProgram; // the device console tool
    std::string workFolder;     // where its listing "dev.ref" goes
    // The built-in adapter reset's view of the devices, where the system has one.
    DeviceTree* deviceTree = nullptr;
};

// What every front end shares for the whole run: the module state, the diagnostics, which
// procedure each control runs, start-up, unload and the program's exit status. A front end
// forwards each event here by control name.
//
// Only one event procedure runs at a time: a button click that comes while one runs (inside a
// transaction's or a pause's wait) runs once none does, in the order of the clicks, and at
// most one monitoring tick waits behind them. The menu entries and closing act at once.
class Session {
public:
    Session(SessionSeams seams, SessionWindow& window);

    // Diagnostics the technician asks for before start-up.
    void traceTo(const std::string& path) { diagnostics_.traceTo(path); }
    void recordTo(const std::string& path) { diagnostics_.recordTo(path); }
    // Start-up probes only this port instead of scanning.
    void choosePort(int16_t port);

    // Start-up before the window shows. False when the program ends instead, with
    // exitStatus(): no controller was found, or the window was closed meanwhile.
    bool Form_Load();
    // 1 after "Device is not found.", otherwise 0.
    int exitStatus() const { return exitStatus_; }

    void click(ButtonName button);
    void choose(MenuName entry);
    // An expiry of Timer1.
    void timerExpired();
    // The window is being closed (its close box, "End"): every wait ends, nothing more is
    // sent or shown, the boxes that are open give way, and the port is closed.
    void Form_Unload();

    // The command line's start-up: the port found and opened as the window's start-up does,
    // without the beep; the calibration read only when the command needs it. False when no
    // controller answered ("Device is not found." was shown).
    bool openForCommandLine(bool readCalibration);
    // What the command line's commands work through.
    Panel& panel() { return panel_; }
    SerialContext& serial() { return serial_; }

private:
    // Tests reach the module state and the link behind the controls.
    friend struct SessionAccess;

    // A click, or a monitoring tick when empty.
    using Event = std::optional<ButtonName>;

    void dispatch(Event event);
    void run(Event event);
    void runProcedure(const std::string& name, const std::function<void(Panel&)>& procedure);
    void End_Click();
    void quitWhenIdle();

    SessionSeams seams_;
    SessionWindow& window_;
    TracedMessageBoxes messages_{seams_.boxes};
    ModuleState m_;
    Clock clock_{seams_.counter};
    SerialContext serial_;
    SerialLink link_{serial_};
    Panel panel_{m_, link_, window_, messages_};
    FieldDiagnostics diagnostics_{serial_, messages_, localTimestamp};
    PortChoice portChoice_ = PortChoice::Scan;
    int exitStatus_ = 0;
    // Event procedures under way, each inside the wait of the one before.
    int running_ = 0;
    std::deque<Event> waiting_;
    bool quit_ = false;
};
