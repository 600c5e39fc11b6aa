#include "common/number_text.h"
#include "tests/common/number_cases.h"

namespace {

using Case = std::pair<double, std::string_view>;

// Products and sums as the writes and steppers form them from box values are rounded to fifteen
// significant digits; digits without trailing zeros or a zero before the point; the exponent
// form from 1E15 and below 1E-15; names of non-finite values.
TEST(plainNumberText, WritesFifteenDigitsWithoutTrailingZerosOrZeroBeforePoint) {
    const Case rounded[] = {{0.0861 * 10000, "861"}, {2.0 / 3, ".666666666666667"},
                            {-0.01 * 10000, "-100"}, {2.05 * 10, "20.5"},
                            {0.164 * 10000, "1640"}, {0.00005 * 10000, ".5"},
                            {9.5 * 10000, "95000"},  {3.8 * 10, "38"},
                            {0.5 - 1, "-.5"},        {0.08615 * 10000, "861.5"},
                            {0.0501 * 10000, "501"}, {0.1234567890123456789, ".123456789012346"},
                            {0.1 + 0.2, ".3"}};
    expectCases(plainNumberText, rounded);
    const Case digits[] = {{0, "0"},      {2.5, "2.5"},       {1e-15, ".000000000000001"},
                           {20, "20"},    {-0.5, "-.5"},      {-2.5e-15, "-.0000000000000025"},
                           {0.05, ".05"}, {-0.001, "-.001"},  {123456789012345, "123456789012345"},
                           {-0.0, "0"},   {100000, "100000"}, {999999999999999, "999999999999999"}};
    expectCases(plainNumberText, digits);
    const Case exponent[] = {
        {1e15, "1E+15"},        {999999999999999.6, "1E+15"},
        {1e100, "1E+100"},      {kDenormMin, "4.94065645841247E-324"},
        {-1e-16, "-1E-16"},     {123456789012345678.0, "1.23456789012346E+17"},
        {-1.5e20, "-1.5E+20"},  {1.7976931348623157e308, "1.79769313486232E+308"},
        {9.99e-16, "9.99E-16"}, {kInf, "inf"},
        {-kInf, "-inf"},        {kNaN, "nan"}};
    expectCases(plainNumberText, exponent);
}

TEST(boxNumberText, KeepsZeroBeforePointBelowOne) {
    const Case cases[] = {
        {0, "0"},      {0.5, "0.5"},    {-0.5, "-0.5"},   {0.5 - 1, "-0.5"},   {12.30 + 1, "13.3"},
        {-0.0, "0"},   {0.05, "0.05"},  {0.5 + 1, "1.5"}, {1.5e20, "1.5E+20"}, {1.5e-16, "1.5E-16"},
        {kInf, "inf"}, {-kInf, "-inf"}, {kNaN, "nan"}};
    expectCases(boxNumberText, cases);
}

} // namespace
