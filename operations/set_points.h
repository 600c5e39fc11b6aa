#pragma once

#include "operations/panel.h"
#include "operations/unsent_values.h"

// "UPDATE": sends the kV set-point of Text7 and the mA set-point of Text8.
void Command4_Click(Panel& p);

// The update as the last step of another write, whose warning names what it did not send.
void updateSetPoints(Panel& p, UnsentValues& unsent);

// The steppers: one unit up to the maximum (Text3, Text4) or down to the initial output
// value (Text5, Text6), never past the bound nor below 0, then the new set-point is sent.
void KV_UP_Click(Panel& p);
void KV_DN_Click(Panel& p);
void mA_UP_Click(Panel& p);
void mA_DN_Click(Panel& p);
