#pragma once

#include <array>

#include "operations/captioned_box.h"

// The output monitor's boxes: kV, mA, filament.
inline constexpr std::array<CaptionedBox, 3> kMonitorBoxes{{
    {"Text9", "KV"},
    {"Text10", "mA"},
    {"Text11", "FIL"},
}};
