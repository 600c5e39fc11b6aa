#include "common/decimal_form.h"

#include <charconv>
#include <cmath>

DecimalForm decimalForm15(double value) {
    DecimalForm form;
    if (value == 0) {
        return form;
    }
    form.negative = std::signbit(value);

    // "d.dddddddddddddde-xx": to_chars is exact and independent of the C locale.
    char buf[32];
    const auto end =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14)
            .ptr;
    const std::string_view text(buf, static_cast<std::size_t>(end - buf));
    const std::size_t e = text.find('e');

    // The digit before the point, then those after it.
    form.digits.push_back(buf[0]);
    for (std::size_t i = 2; i < e; ++i) {
        form.digits.push_back(buf[i]);
    }
    form.digits.erase(form.digits.find_last_not_of('0') + 1);

    const std::size_t expDigits = e + 2; // skip "e" and its sign
    int exponent = 0;
    std::from_chars(text.data() + expDigits, text.data() + text.size(), exponent);
    form.point = (text[e + 1] == '-' ? -exponent : exponent) + 1;
    return form;
}

std::string nonFiniteText(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    return value < 0 ? "-inf" : "inf";
}
