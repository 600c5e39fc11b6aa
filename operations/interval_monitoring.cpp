#include "operations/interval_monitoring.h"

#include "common/scoped_flag.h"
#include "operations/output_monitor.h"
#include "operations/status_flags.h"

void IntervalStart_Click(Panel& p) {
    // Enabling a running timer would restart its interval.
    if (!p.w.timerEnabled()) {
        p.w.setTimerEnabled(true);
    }
    p.w.setChecked("IntervalStart", true);
    p.w.setChecked("IntervalStop", false);
}

void IntervalStop_Click(Panel& p) {
    // A tick under way runs to its end; only the next ones are prevented.
    p.w.setTimerEnabled(false);
    p.w.setChecked("IntervalStart", false);
    p.w.setChecked("IntervalStop", true);
}

std::optional<TickReads> Timer1_Timer(Panel& p) {
    // An expiry while a tick still waits for its replies is skipped: nested, its commands
    // could only be refused.
    if (p.m.bTickRunning) {
        return std::nullopt;
    }
    const ScopedFlag running(p.m.bTickRunning);
    TickReads reads;
    reads.flags = Command6_Click(p);
    if (p.m.bUnloading) {
        return reads;
    }
    // A lost port answers nothing: the tick ends at its first command, showing no reading.
    if (!reads.flags && p.m.bPortLost) {
        emptyMonitorBoxes(p);
        return reads;
    }
    reads.monitor = Command5_Click(p);
    return reads;
}
