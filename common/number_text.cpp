#include "common/number_text.h"

#include "common/decimal_form.h"

#include <cmath>
#include <cstdlib>

namespace {

// Plain below 1E15 and from 1E-15 on; with an exponent outside.
constexpr int kLargestPlainExponent = 14;
constexpr int kSmallestPlainExponent = -15;

std::string exponentText(const DecimalForm& form) {
    std::string text = form.digits.substr(0, 1);
    if (form.digits.size() > 1) {
        text += "." + form.digits.substr(1);
    }
    const int exponent = form.point - 1;
    // Never fewer than two digits: the exponent is outside -15..14.
    return text + (exponent < 0 ? "E-" : "E+") + std::to_string(std::abs(exponent));
}

std::string positionalText(const DecimalForm& form, bool zeroBeforePoint) {
    const auto size = static_cast<int>(form.digits.size());
    if (form.point <= 0) {
        const std::string zeros(static_cast<std::size_t>(-form.point), '0');
        return (zeroBeforePoint ? "0." : ".") + zeros + form.digits;
    }
    if (form.point >= size) {
        return form.digits + std::string(static_cast<std::size_t>(form.point - size), '0');
    }
    const auto point = static_cast<std::size_t>(form.point);
    return form.digits.substr(0, point) + "." + form.digits.substr(point);
}

std::string numberText(double value, bool zeroBeforePoint) {
    if (!std::isfinite(value)) {
        return nonFiniteText(value);
    }
    const DecimalForm form = decimalForm15(value);
    if (form.digits.empty()) {
        return "0";
    }
    const int exponent = form.point - 1;
    const bool plain = exponent >= kSmallestPlainExponent && exponent <= kLargestPlainExponent;
    return (form.negative ? "-" : "") +
           (plain ? positionalText(form, zeroBeforePoint) : exponentText(form));
}

} // namespace

std::string plainNumberText(double value) { return numberText(value, false); }

std::string boxNumberText(double value) { return numberText(value, true); }
