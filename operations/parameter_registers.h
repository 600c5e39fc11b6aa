#pragma once

#include <array>
#include <cstdint>

#include "common/display_pattern.h"
#include "operations/control_names.h"

// The whole numbers a register can store: a 16-bit word, signed for the offsets and the A/D
// gain.
struct StoredRange {
    int32_t lowest;
    int32_t highest;
};
inline constexpr StoredRange kWord{0, 65535};
inline constexpr StoredRange kSignedWord{-32768, 32767};

// A stored register of the controller as the panels show and write it. The register holds
// the displayed value times its scale (tenths or ten-thousandths): the read divides by the
// scale, the write multiplies by it.
struct ParameterRegister {
    const char* name;
    const char* readCommand;
    BoxName box;
    double scale;
    DisplayPattern pattern;
    const char* writePrefix;
    bool signedValue; // a coefficient, which may be negative; limits and outputs may not
    StoredRange range;
};

// Registers 0 to 11, in the order in which they are read and written.
inline constexpr std::array<ParameterRegister, 12> kParameterRegisters{{
    {"PWR_LMT", "R0", "Text1", 10, DisplayPattern::OneDecimal, "W00,", false, kWord},
    {"FIL_LMT", "R1", "Text2", 10, DisplayPattern::OneDecimal, "W01,", false, kWord},
    {"KV_MAX", "R2", "Text3", 10, DisplayPattern::Whole, "W02,", false, kWord},
    {"mA_MAX", "R3", "Text4", 10, DisplayPattern::OneDecimal, "W03,", false, kWord},
    {"KV_OUT", "R4", "Text5", 10, DisplayPattern::Whole, "W04,", false, kWord},
    {"mA_OUT", "R5", "Text6", 10, DisplayPattern::OneDecimal, "W05,", false, kWord},
    {"KV_MIN", "R6", "Text15", 10, DisplayPattern::Whole, "W06,", false, kWord},
    {"mA_MIN", "R7", "Text16", 10, DisplayPattern::OneDecimal, "W07,", false, kWord},
    {"KV_SLOPE", "R8", "Text17", 10000, DisplayPattern::FourDecimals, "c", true, kWord},
    {"KV_OFFSET", "R9", "Text18", 10000, DisplayPattern::FourDecimals, "d", true, kSignedWord},
    {"mA_SLOPE", "R10", "Text19", 10000, DisplayPattern::FourDecimals, "k", true, kWord},
    {"mA_OFFSET", "R11", "Text20", 10000, DisplayPattern::FourDecimals, "j", true, kSignedWord},
}};

// Registers 12 and 13: the A/D correction coefficients.
inline constexpr std::array<ParameterRegister, 2> kCalibrationRegisters{{
    {"AD_GAIN", "R12", "Text21", 10000, DisplayPattern::FourDecimals, "W12,", true, kSignedWord},
    {"AD_OFFSET", "R13", "Text22", 10000, DisplayPattern::FourDecimals, "W13,", true, kSignedWord},
}};
