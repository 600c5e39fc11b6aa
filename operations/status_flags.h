#pragma once

#include "operations/panel.h"

// "READ" of the status frame, also run by every monitoring tick: the thirteen flags of "E"
// into Text12(0)..Text12(10), Text13 and Text14, shown inverted. True when the boxes now
// show flags of this read; a failed read raises every flag and gives false.
bool Command6_Click(Panel& p);

// Every flag box shows "1": the failed state, which fails safe.
void raiseEveryFlag(Panel& p);
