#pragma once

#include <exception>
#include <optional>
#include <string>

#include "operations/panel.h"
#include "operations/pending_warnings.h"
#include "platform/tone_player.h"
#include "serial/serial_context.h"

// How start-up finds the controller's port.
enum class PortChoice {
    Scan,  // i_comPort 0: the scan; a port already set is opened as it is
    Probe, // the port the technician chose (i_comPort): only it is probed, like the scan would
};

// The retry and time-out defaults, the port scan (unless a port was chosen) and opening. False
// when no controller answered: "Device is not found." was shown.
bool openController(SerialContext& c, PortChoice choice);

// Start-up of the window before it is shown: the retry and time-out defaults, the port scan
// (unless a port was chosen), opening, the rising beep and the calibration read. False when
// no controller answered: "Device is not found." was shown and the program ends.
bool loadSession(SerialContext& c, Panel& p, TonePlayer& tones, PortChoice choice);

// Every wait under way ends at once, nothing more is sent or shown, and the port is closed.
// The window stops its timer itself. False when the session was already unloaded.
bool unloadSession(SerialContext& c);

// Runs one event procedure at the window's edge: nothing it raises may cross the event loop,
// and warnings held back during a transaction are shown once the link is idle. Returns the
// text of what it raised (a programmer error, for the window to log), or nothing.
template <typename Procedure>
std::optional<std::string> runEventProcedure(Panel& p, Procedure procedure) {
    try {
        procedure(p);
        showPendingWarnings(p);
    } catch (const std::exception& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}
