#include "common/display_pattern.h"

#include "common/decimal_form.h"

#include <cmath>

namespace {

std::size_t decimalsOf(DisplayPattern pattern) {
    switch (pattern) {
    case DisplayPattern::Whole:
        return 0;
    case DisplayPattern::OneDecimal:
        return 1;
    case DisplayPattern::ThreeDecimals:
        return 3;
    case DisplayPattern::FourDecimals:
        return 4;
    }
    return 0;
}

// Adds one to a string of decimal digits; the empty string counts as 0.
void increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The digits of |value| * 10^decimals rounded half away from zero, without leading zeros
// (empty when that rounds to 0).
std::string scaledDigits(const DecimalForm& form, std::size_t decimals) {
    const long long keep = form.point + static_cast<long long>(decimals);
    if (keep < 0) {
        return {};
    }
    const auto kept = static_cast<std::size_t>(keep);
    std::string digits = form.digits.substr(0, kept);
    digits.resize(kept, '0');
    if (kept < form.digits.size() && form.digits[kept] >= '5') {
        increment(digits);
    }
    return digits;
}

} // namespace

std::string formatDisplay(double value, DisplayPattern pattern) {
    if (!std::isfinite(value)) {
        return nonFiniteText(value);
    }
    const std::size_t decimals = decimalsOf(pattern);
    const DecimalForm form = decimalForm15(value);
    std::string digits = scaledDigits(form, decimals);
    const bool negative = form.negative && !digits.empty();

    if (digits.size() < decimals) {
        digits.insert(0, decimals - digits.size(), '0');
    }
    std::string integer = digits.substr(0, digits.size() - decimals);
    if (integer.empty() && pattern == DisplayPattern::FourDecimals) {
        integer = "0";
    }

    std::string text = negative ? "-" + integer : integer;
    if (decimals > 0) {
        text += "." + digits.substr(digits.size() - decimals);
    }
    return text;
}
