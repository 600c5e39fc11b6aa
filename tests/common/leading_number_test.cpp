#include "common/leading_number.h"
#include "tests/common/number_cases.h"

namespace {

using Case = std::pair<std::string, double>;

double leading(const std::string& text) { return leadingNumber(text); }

// Sign, digits and point up to the first character that cannot continue, blanks, tabs and line
// feeds skipped anywhere, an exponent after E or D only when digits follow; 0 without a number.
TEST(leadingNumber, ReadsTheNumberTheTextStartsWith) {
    const Case cases[] = {
        {"+5", 5},    {"1,5", 1},    {".5", 0.5},     {"805;", 805},    {"-100", -100},
        {"5.", 5},    {"1-2", 1},    {"0001", 1},     {"1.2.3", 1.2},   {"1\r2", 1},
        {"0x10", 0},  {"-.5", -0.5}, {"12.30", 12.3}, {"", 0},          {".", 0},
        {"+.", 0},    {"E5", 0},     {"abc", 0},      {"+-1", 0},       {"-", 0},
        {"- 1", -1},  {"1 .5", 1.5}, {"1 E 2", 100},  {"1e - 2", 0.01}, {"\n\t 7;", 7},
        {" 1 2", 12}, {"1E+", 1},    {"12E", 12},     {"1d+1", 10},     {"1E2E3", 100},
        {"7Ex", 7},   {"3D-;", 3},   {"0E999", 0},    {"2.5D2", 250},   {"1E-2", 0.01}};
    expectCases(leading, cases);
    // "&H" and "&O" integers; digit strings and exponents far beyond what a double holds.
    const Case radix[] = {
        {"&X1", 0},    {"&O78", 7},  {"&HaAfF9", 0xaaff9},     {"1.8E308", kInf}, {"1E-400", 0},
        {" &H10", 16}, {"&H1G", 1},  {"0.00001E310", 1e305},   {"&h 1 F", 31},    {"-1E400", -kInf},
        {"&H", 0},     {"&o17", 15}, {"4.9E-324", kDenormMin}, {"&H1@", 1},       {"&O1>", 1}};
    expectCases(leading, radix);
    const std::string zeros(5000, '0');
    const std::string nines(30, '9');
    const Case longer[] = {{zeros + "7", 7},     {"0." + zeros + "25E5001", 2.5},
                           {"-1E-" + nines, 0},  {"1234567890123456789", 1234567890123456789.0},
                           {"1" + zeros, kInf},  {"1" + zeros + "E-5000", 1},
                           {"1D" + nines, kInf}, {"0." + std::string(5000, '3'), 1.0 / 3}};
    expectCases(leading, longer);
    const std::pair<std::size_t, double> positions[] = {{1, 0},   {0, 0},    {16, 0},  {17, 0},
                                                        {2, 512}, {7, 1024}, {12, 100}};
    expectCases([](std::size_t pos) { return leadingNumber("S0512,1024,0100;", pos); }, positions);
}

// A box holds a number when its text starts with one; "1,5" is a decimal comma, no number.
TEST(boxNumber, IsNothingWithoutANumberOrWithADecimalComma) {
    const std::pair<std::string, std::optional<double>> cases[] = {
        {"1,5", std::nullopt}, {"1,", 1},           {"2.5 kV", 2.5},        {"2.5x1", 2.5},
        {"", std::nullopt},    {"-", std::nullopt}, {" 2 ,5", std::nullopt}};
    expectCases([](const std::string& text) { return boxNumber(text); }, cases);
}

} // namespace
