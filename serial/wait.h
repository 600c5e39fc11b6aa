#pragma once

#include <cstdint>

#include "serial/serial_context.h"

// Waits more than mS milliseconds while serving window events. A negative mS returns at
// once. Returns false when the window is unloaded before or during the wait.
bool waitmSec(SerialContext& c, int32_t mS);
