#pragma once

#include "operations/panel.h"

// "READ" of the monitor frame, also run by every monitoring tick: three samples of the
// filament, kV and mA counts, averaged, scaled to 0..10 and corrected with the A/D
// coefficients into Text9 (kV), Text10 (mA) and Text11 (filament and its current in A).
// True when the three boxes now show values of this read.
bool Command5_Click(Panel& p);

// The three monitor boxes emptied: no reading is in force.
void emptyMonitorBoxes(Panel& p);
