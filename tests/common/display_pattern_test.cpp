#include "common/display_pattern.h"
#include "tests/common/number_cases.h"

namespace {

using Case = std::pair<double, std::string_view>;

auto Shown(DisplayPattern pattern) {
    return [pattern](double value) { return formatDisplay(value, pattern); };
}

// Each pattern's table also holds the rules shared by all: halves away from zero, no sign when
// a negative value rounds to zero, all integer digits of large values, names of non-finite values.
TEST(formatDisplay, WholePatternIsEmptyForZero) {
    const Case cases[] = {
        {0, ""},    {50, "50"}, {80.5, "81"},  {kInf, "inf"},  {805 / 10.0, "81"},
        {0.4, ""},  {0.5, "1"}, {-2.5, "-3"},  {-80.5, "-81"}, {1e20, "100000000000000000000"},
        {2.5, "3"}, {-0.4, ""}, {99.5, "100"},
    };
    ExpectCases(Shown(DisplayPattern::Whole), cases);
}

TEST(formatDisplay, OneDecimalPatternDropsIntegerZero) {
    const Case cases[] = {
        {0, ".0"},    {0.04, ".0"},  {-0.5, "-.5"},   {0.02505, ".0"},
        {2, "2.0"},   {2.5, "2.5"},  {-0.05, "-.1"},  {38 / 10.0, "3.8"},
        {0.5, ".5"},  {0.15, ".2"},  {9.96, "10.0"},  {4.8828125, "4.9"},
        {0.35, ".4"}, {-0.01, ".0"}, {-0.35, "-.4"},  {4.9951171875, "5.0"},
        {0.05, ".1"}, {kNaN, "nan"}, {2.7403, "2.7"}, {-1e20, "-100000000000000000000.0"},
    };
    ExpectCases(Shown(DisplayPattern::OneDecimal), cases);
}

// Monitor counts scaled to 0..10 and corrected, as the monitor read shows them.
TEST(formatDisplay, ThreeDecimalsPatternDropsIntegerZero) {
    const Case cases[] = {
        {0, ".000"},      {-1.5, "-1.500"},       {5.0 * 0.0861 + 5.0 + 0.0501, "5.481"},
        {5, "5.000"},     {-0.0004, ".000"},      {(1001 * 3 / 1024.0) * (10 / 3.0), "9.775"},
        {0.977, ".977"},  {9.765625, "9.766"},    {123456789012345678.0, "123456789012346000.000"},
        {0.0501, ".050"}, {9.990234375, "9.990"},
    };
    ExpectCases(Shown(DisplayPattern::ThreeDecimals), cases);
}

// Register values divided by their scale, as the reads show them.
TEST(formatDisplay, FourDecimalsPatternKeepsIntegerDigit) {
    const Case cases[] = {
        {0, "0.0000"},     {0.00005, "0.0001"},       {501 / 10000.0, "0.0501"},
        {9.5, "9.5000"},   {1.00005, "1.0001"},       {1210 / 10000.0, "0.1210"},
        {-kInf, "-inf"},   {-0.00004, "0.0000"},      {65535 / 10000.0, "6.5535"},
        {-0.0, "0.0000"},  {1 / 10000.0, "0.0001"},   {-100 / 10000.0, "-0.0100"},
        {0.164, "0.1640"}, {861 / 10000.0, "0.0861"}, {90000 / 10000.0, "9.0000"},
        {1e-20, "0.0000"},
    };
    ExpectCases(Shown(DisplayPattern::FourDecimals), cases);
}

// Halves that the binary value may miss by a hair (1.0005 is 1.000499...): the 15-digit form
// shows the half.
TEST(formatDisplay, RoundsHalvesOfFifteenDigitFormAwayFromZero) {
    const Case cases[] = {
        {0.0005, ".001"},    {1.0005, "1.001"}, {9.9995, "10.000"},
        {-1.0005, "-1.001"}, {2.0005, "2.001"},
    };
    ExpectCases(Shown(DisplayPattern::ThreeDecimals), cases);
}

} // namespace
