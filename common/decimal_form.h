#pragma once

#include <string>

// A finite double as decimal digits, rounded to 15 significant digits: the precision that a
// double carries reliably, so that 0.0003 * 10000 reads as 3 and 1.0005 as 1.0005.
struct DecimalForm {
    bool negative = false;
    std::string digits; // significant digits, first one non-zero, no trailing zeros; empty for 0
    int point = 0;      // value = 0.<digits> * 10^point
};

// value must be finite. Zero, also -0, gives no digits and no sign.
DecimalForm decimalForm15(double value);

// The text of a value without a decimal form: "inf", "-inf" or "nan".
std::string nonFiniteText(double value);
