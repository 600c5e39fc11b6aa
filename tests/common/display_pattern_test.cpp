#include "common/display_pattern.h"
#include "tests/common/number_cases.h"

namespace {

using Case = std::pair<double, std::string_view>;

auto shown(DisplayPattern pattern) {
    return [pattern](double value) { return formatDisplay(value, pattern); };
}

// Halves away from zero (also the halves the binary value misses by a hair: 1.0005 is
// 1.000499..., its 15-digit form shows the half), no sign when a negative value rounds to zero,
// all integer digits of large values, names of non-finite values.
TEST(formatDisplay, RoundsEachPatternsDigitsAndDropsOrKeepsTheIntegerZero) {
    const Case whole[] = {{0.4, ""},  {0.5, "1"},    {99.5, "100"}, {1e20, "100000000000000000000"},
                          {50, "50"}, {kInf, "inf"}, {2.5, "3"},    {805 / 10.0, "81"},
                          {-0.4, ""}, {-2.5, "-3"},  {0, ""}};
    expectCases(shown(DisplayPattern::Whole), whole);
    const Case oneDecimal[] = {
        {0, ".0"},     {4.9951171875, "5.0"}, {-0.5, "-.5"},  {-1e20, "-100000000000000000000.0"},
        {2, "2.0"},    {0.15, ".2"},          {9.96, "10.0"}, {0.35, ".4"},
        {-0.01, ".0"}, {-0.35, "-.4"},        {0.05, ".1"},   {kNaN, "nan"},
        {0.04, ".0"}};
    expectCases(shown(DisplayPattern::OneDecimal), oneDecimal);
    const Case threeDecimals[] = {
        {0, ".000"},         {-1.5, "-1.500"},    {5.0 * 0.0861 + 5.0 + 0.0501, "5.481"},
        {-0.0004, ".000"},   {0.977, ".977"},     {(1001 * 3 / 1024.0) * (10 / 3.0), "9.775"},
        {9.765625, "9.766"}, {0.0005, ".001"},    {123456789012345678.0, "123456789012346000.000"},
        {1.0005, "1.001"},   {-1.0005, "-1.001"}, {9.9995, "10.000"}};
    expectCases(shown(DisplayPattern::ThreeDecimals), threeDecimals);
    const Case fourDecimals[] = {{-100 / 10000.0, "-0.0100"}, {1e-20, "0.0000"},   {-kInf, "-inf"},
                                 {65535 / 10000.0, "6.5535"}, {0.00005, "0.0001"}, {0, "0.0000"},
                                 {-0.00004, "0.0000"},        {-0.0, "0.0000"},    {9.5, "9.5000"}};
    expectCases(shown(DisplayPattern::FourDecimals), fourDecimals);
}

} // namespace
