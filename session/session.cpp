#include "session/session.h"

#include <algorithm>

#include "operations/ad_calibration.h"
#include "operations/beeps.h"
#include "operations/interval_monitoring.h"
#include "session/event_procedures.h"

Session::Session(SessionSeams seams, SessionWindow& window)
    : seams_(std::move(seams)), window_(window), serial_{m_,
                                                         seams_.MSComm5,
                                                         clock_,
                                                         seams_.pump,
                                                         messages_,
                                                         seams_.console,
                                                         seams_.consoleProgram,
                                                         seams_.workFolder,
                                                         nullptr,
                                                         seams_.deviceTree} {}

void Session::choosePort(int16_t port) {
    m_.i_comPort = port;
    portChoice_ = PortChoice::Probe;
}

bool Session::Form_Load() {
    ++running_;
    const bool found = loadSession(serial_, panel_, seams_.tones, portChoice_);
    --running_;
    exitStatus_ = found ? 0 : 1;
    quitWhenIdle();
    return found && !m_.bUnloading;
}

bool Session::openForCommandLine(bool readCalibration) {
    if (!openController(serial_, portChoice_)) {
        return false;
    }
    if (readCalibration) {
        runProcedure("Command8_Click", readCalibrationAtStartUp);
    }
    return !m_.bUnloading;
}

void Session::click(ButtonName button) { dispatch(button); }

void Session::timerExpired() {
    // An expiry while a tick runs is skipped; one that comes during a click waits, once.
    if (m_.bTickRunning || std::ranges::find(waiting_, Event{}) != waiting_.end()) {
        return;
    }
    dispatch(std::nullopt);
}

void Session::choose(MenuName entry) {
    if (m_.bUnloading) {
        return;
    }
    if (entry == MenuName("End")) {
        End_Click();
        return;
    }
    const EventProcedure procedure = menuProcedure(entry);
    runProcedure(procedure.name, procedure.run);
    quitWhenIdle();
}

void Session::dispatch(Event event) {
    if (m_.bUnloading) {
        return;
    }
    if (running_ > 0) {
        waiting_.push_back(event);
        return;
    }
    run(event);
    while (!waiting_.empty()) {
        const Event next = waiting_.front();
        waiting_.pop_front();
        run(next);
    }
    quitWhenIdle();
}

void Session::run(Event event) {
    if (event) {
        const EventProcedure procedure = clickProcedure(*event);
        runProcedure(procedure.name, procedure.run);
    } else if (window_.timerEnabled()) {
        // "Interval Stop" while the tick waited stays in force.
        runProcedure("Timer1_Timer", [this](Panel& p) { diagnostics_.monitoringTick(p); });
    }
}

void Session::runProcedure(const std::string& name, const std::function<void(Panel&)>& procedure) {
    // A control the table misses: a programmer error, logged like any other.
    if (!procedure) {
        window_.logFault(name + ": no event procedure");
        return;
    }
    ++running_;
    const auto failure = runEventProcedure(panel_, procedure);
    --running_;
    if (failure) {
        window_.logFault(name + ": " + *failure);
    }
}

void Session::End_Click() {
    BeepNG(seams_.tones);
    window_.close();
}

void Session::Form_Unload() {
    if (!unloadSession(serial_)) {
        return;
    }
    window_.setTimerEnabled(false);
    waiting_.clear();
    if (running_ > 0) {
        window_.endDialogs();
    }
    quitWhenIdle();
}

void Session::quitWhenIdle() {
    if (running_ == 0 && m_.bUnloading && !quit_) {
        quit_ = true;
        window_.quit();
    }
}
