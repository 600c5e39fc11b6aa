#pragma once

#include "operations/panel.h"

// "EEPROM WRITE" of the parameter frame: registers 0 to 11 from their boxes, then the
// set-points once more.
void Command3_Click(Panel& p);
