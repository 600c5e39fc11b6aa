#pragma once

#include <array>

#include "operations/captioned_box.h"

// The thirteen flags in the order of the reply to "E": flag i stands at position 2 + 2 * i.
inline constexpr std::array<CaptionedBox, 13> kStatusFlagBoxes{{
    {"Text12(0)", "XRAY_STATUS"},
    {"Text12(1)", "OVER_VOLT_ERR"},
    {"Text12(2)", "KV_MIN_ERR"},
    {"Text12(3)", "OVER_PWE_ERR"},
    {"Text12(4)", "FIL_LMT_ERR"},
    {"Text12(5)", "OVER_CURR_ERR"},
    {"Text12(6)", "TEMP_ERR"},
    {"Text12(7)", "KV_REG_ERR"},
    {"Text12(8)", "mA_REG_ERR"},
    {"Text12(9)", "ARC_ERR"},
    {"Text12(10)", "OPEN_FIL_ERR"},
    {"Text13", "WATAR"},
    {"Text14", "DOOR"},
}};
