#pragma once

#include "operations/panel.h"

// "READ" of the status frame, also run by every monitoring tick: the thirteen flags of "E"
// into Text12(0)..Text12(10), Text13 and Text14, shown inverted.
void Command6_Click(Panel& p);
