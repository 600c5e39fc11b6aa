#pragma once

#include <cstdint>

#include "serial/serial_context.h"

inline constexpr const char* kLineSettings = "115200,N,8,1";

// Probes COM1..COM128 with "E" and returns the first port that answers with ";", or 0.
// Leaves the port closed. Shows nothing.
int16_t Rs232cFind(SerialContext& c);

// Selects, configures and opens port pt. Returns true on failure (its error path ran).
// A failure while selecting or configuring is thrown to the caller as it came.
bool Rs232cSetInit(SerialContext& c, int16_t pt);

// Opens i_comPort and tells the operator when that failed.
void Rs232cOpen(SerialContext& c);

// Closes the port if it is open.
void Rs232cClose(SerialContext& c);
