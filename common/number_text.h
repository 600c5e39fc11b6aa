#pragma once

#include <string>

// The plain number text of a command line: the value rounded to 15 significant digits, "." as
// decimal point, no trailing zeros or point, "-" for negatives, no "0" before the point below 1
// (0.5 -> ".5", -0.5 -> "-.5", 0 and -0 -> "0"). Independent of the C locale.
// A magnitude of 1E15 or more, or below 1E-15 (after the rounding), takes the exponent form:
// the mantissa in the same form between 1 and 10, "E", the exponent's sign and at least two
// digits ("1.5E+20", "-1.23456789012346E+17", "1E-16").
// A value that is not finite gives "inf", "-inf" or "nan", which is no number for the
// controller: callers do not send such values.
std::string plainNumberText(double value);

// As PlainNumberText, but a magnitude below 1 keeps its "0" before the point (0.5 -> "0.5").
std::string boxNumberText(double value);
