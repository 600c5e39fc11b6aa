#pragma once

#include "operations/panel.h"

// "Interval Start" / "Interval Stop": Timer1 on or off, the check mark on the entry chosen.
void IntervalStart_Click(Panel& p);
void IntervalStop_Click(Panel& p);

// One monitoring tick: the status flags, then the output monitor.
void Timer1_Timer(Panel& p);
