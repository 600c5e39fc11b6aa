#pragma once

// What the case tables of the number helpers share. The tables run twice: plainly and under a
// German C locale (german_locale_main.cpp), where a locale-dependent conversion would read or
// write "20,5".

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <string_view>
#include <utility>

inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kDenormMin = std::numeric_limits<double>::denorm_min();

// Expects check(input) == expected for every {input, expected} case; a failure names the input.
void expectCases(const auto& check, const auto& cases) {
    for (const auto& [input, expected] : cases) {
        SCOPED_TRACE(testing::Message() << "input " << testing::PrintToString(input));
        EXPECT_EQ(check(input), expected);
    }
}
