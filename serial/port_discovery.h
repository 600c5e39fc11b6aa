#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "serial/serial_context.h"

inline constexpr const char* kLineSettings = "115200,N,8,1";

// Probes COM1..COM128 with "E" and returns the first port that answers with ";", or 0.
// Leaves the port closed. Shows nothing.
int16_t Rs232cFind(SerialContext& c);

// Opens port n, sends the probe "E" and closes the port again. True when the reply held
// ";" within a second. Shows nothing.
bool Rs232cProbe(SerialContext& c, int16_t n);

// Selects, configures and opens port pt. Returns true on failure (its error path ran). A
// failure while selecting or configuring is thrown to the caller. Failure texts name the
// port and the step ("opening the port", "reopening the port").
bool Rs232cSetInit(SerialContext& c, int16_t pt, const std::string& step = "opening the port");

// Selects port pt and sets its line; a failure is thrown, its text naming the port and the step.
void selectPort(SerialContext& c, int16_t pt, const std::string& step);

// Opens port pt, selected and configured, and discards what it holds. On failure the control
// is left closed and the failure is returned, its text naming the port and the step. Shows
// nothing.
std::optional<SerialError> openSelected(SerialContext& c, int16_t pt, const std::string& step);

// Opens i_comPort and tells the operator when that failed.
void Rs232cOpen(SerialContext& c);

// Closes the port if it is open.
void Rs232cClose(SerialContext& c);
