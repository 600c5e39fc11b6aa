#pragma once

#include <optional>

#include "operations/panel.h"

// "Interval Start" / "Interval Stop": Timer1 on or off, the check mark on the entry chosen.
void IntervalStart_Click(Panel& p);
void IntervalStop_Click(Panel& p);

// What a monitoring tick read: each part is true when its boxes show values of this tick.
struct TickReads {
    bool flags = false;
    bool monitor = false;
};

// One monitoring tick: the status flags, then the output monitor. Nothing when the expiry
// was skipped.
std::optional<TickReads> Timer1_Timer(Panel& p);
