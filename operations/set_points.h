#pragma once

#include "operations/panel.h"

// "UPDATE": sends the kV set-point of Text7 and the mA set-point of Text8.
void Command4_Click(Panel& p);

// The steppers: one unit up to the maximum (Text3, Text4) or down to the initial output
// value (Text5, Text6), both bounds strict, then the new set-point is sent.
void KV_UP_Click(Panel& p);
void KV_DN_Click(Panel& p);
void mA_UP_Click(Panel& p);
void mA_DN_Click(Panel& p);
