#pragma once

#include <string>

// Display patterns of the boxes. Rounding is half away from zero, decided on the value's
// 15-significant-digit decimal form (1.0005, stored as 1.000499..., shows 1.001 with "#.000");
// the decimal separator is always ".". A negative value carries "-" unless it rounds to zero
// (-0.01 shows ".0" with "#.0"). Large values show all their integer digits, never an
// exponent. A value that is not finite shows "inf", "-inf" or "nan".
enum class DisplayPattern {
    Whole,         // "#"      : 80.5 -> "81", 0 and anything that rounds to 0 -> ""
    OneDecimal,    // "#.0"    : 2 -> "2.0", 0.5 -> ".5", 0 -> ".0"
    ThreeDecimals, // "#.000"  : 5 -> "5.000", 0.977 -> ".977"
    FourDecimals,  // "0.0000" : 0.164 -> "0.1640", 0 -> "0.0000"
};

std::string formatDisplay(double value, DisplayPattern pattern);
