#pragma once

#include <vector>

#include "app/win32/control_entry.h"

#include <windows.h>

// The designer file's pixels are those of 96 dots per inch; a monitor at 144 shows them 1.5
// times as large.
inline int scaled(int designPixels, UINT dpi) {
    return MulDiv(designPixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

// Every control of the designer layout, in its order, placed and sized for dpi.
std::vector<ControlEntry> layoutAt(UINT dpi);
