#pragma once

#include <string>

#include "operations/panel.h"

// "A/D Cal.": asks for the password and shows the calibration frame Frame6 on the right one.
void AD_Calibration_Click(Panel& p);

// Whether typed is the password that opens the calibration.
bool isCalibrationPassword(const std::string& typed);

// "EEPROM READ" of the calibration frame, also the last step of start-up: registers 12 and
// 13 into Text21 and Text22, and from there into dAdGain and dAdOffset.
void Command8_Click(Panel& p);

// The calibration read at start-up: the boxes hold design texts that no controller gave, so
// a register that cannot be read empties its box and its coefficient stays 0.
void readCalibrationAtStartUp(Panel& p);

// "EEPROM WRITE" of the calibration frame: Text21 and Text22 into registers 12 and 13, and
// into dAdGain and dAdOffset.
void Command7_Click(Panel& p);

// The debug button: sends "F3.8".
void Command2_Click(Panel& p);
