#pragma once

#include <array>

#include "operations/control_names.h"

// The output monitor's boxes: kV, mA, filament.
inline constexpr std::array<BoxName, 3> kMonitorBoxes{"Text9", "Text10", "Text11"};

// The status flags' boxes; the flag of box i stands at reply position 2 + 2 * i.
inline constexpr std::array<BoxName, 13> kFlagBoxes{
    "Text12(0)", "Text12(1)", "Text12(2)", "Text12(3)",  "Text12(4)", "Text12(5)", "Text12(6)",
    "Text12(7)", "Text12(8)", "Text12(9)", "Text12(10)", "Text13",    "Text14"};
