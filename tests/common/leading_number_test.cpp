#include "common/leading_number.h"
#include "tests/common/number_cases.h"

namespace {

using Case = std::pair<std::string, double>;

double Leading(const std::string& text) { return leadingNumber(text); }

TEST(leadingNumber, ReadsSignDigitsAndPointUpToFirstCharacterThatCannotContinue) {
    const Case cases[] = {
        {"+5", 5},      {"1,5", 1},      {".5", 0.5},       {"3.8", 3.8}, {"805;", 805},
        {"-100", -100}, {"5.", 5},       {"1-2", 1},        {"0001", 1},  {"12kV", 12},
        {"1.2.3", 1.2}, {"12.30", 12.3}, {"20", 20},        {"1\r2", 1},  {"0x10", 0},
        {"-.5", -0.5},  {"9.5;R", 9.5},  {"0.1640", 0.164}, {"2.0", 2},
    };
    ExpectCases(Leading, cases);
}

TEST(leadingNumber, TextWithoutNumberGivesZero) {
    const Case cases[] = {
        {"", 0},    {".", 0},   {"+.", 0},  {"E5", 0}, {"   ", 0},
        {"abc", 0}, {"+-1", 0}, {"--1", 0}, {";", 0},  {"-", 0},
    };
    ExpectCases(Leading, cases);
}

TEST(leadingNumber, SkipsBlanksTabsAndLineFeedsAnywhere) {
    const Case cases[] = {
        {"- 1", -1},      {"1 .5", 1.5}, {"1 E 2", 100}, {"1e - 2", 0.01},
        {"\n\n\t 7;", 7}, {" 1 2", 12},  {"\t-\n3", -3}, {"&H 1 F", 31},
    };
    ExpectCases(Leading, cases);
}

TEST(leadingNumber, ReadsExponentAfterEOrDOnlyWhenDigitsFollow) {
    const Case cases[] = {
        {"1E+", 1}, {"12E", 12}, {"1d+1", 10}, {"1e3", 1000}, {"1E-2", 0.01}, {"1E2E3", 100},
        {"7Ex", 7}, {"3D-;", 3}, {"0E999", 0}, {"-2e1", -20}, {"2.5D2", 250},
    };
    ExpectCases(Leading, cases);
}

TEST(leadingNumber, ReadsHexadecimalAndOctalIntegers) {
    const Case cases[] = {
        {"&H", 0},         {"&X1", 0}, {"&O78", 7}, {"&O17", 15}, {" &H10", 16},
        {"&HFFFF", 65535}, {"&o7", 7}, {"&H1G", 1}, {"&H1F", 31}, {"&hff", 255},
    };
    ExpectCases(Leading, cases);
}

// Digit strings and exponents far beyond what a double holds.
TEST(leadingNumber, ReadsAnyLengthAndGivesInfinityOrZeroBeyondDoubleRange) {
    const std::string zeros(5000, '0');
    const std::string nines(30, '9');
    const std::string threes(5000, '3');
    const Case cases[] = {
        {"1E-400", 0},     {"1" + zeros, kInf},      {"0." + threes, 1.0 / 3},
        {"1E400", kInf},   {"-1E-" + nines, 0},      {"4.9E-324", kDenormMin},
        {zeros + "7", 7},  {"1D" + nines, kInf},     {"1" + zeros + "E-5000", 1},
        {"-1E400", -kInf}, {"0.00001E310", 1e305},   {"0." + zeros + "25E5001", 2.5},
        {"1.8E308", kInf}, {"-0." + zeros + "1", 0}, {"1234567890123456789", 1234567890123456789.0},
    };
    ExpectCases(Leading, cases);
}

TEST(leadingNumber, ReadsFromOneBasedPosition) {
    const std::pair<std::size_t, double> cases[] = {
        {1, 0}, {0, 0}, {16, 0}, {17, 0}, {2, 512}, {7, 1024}, {12, 100},
    };
    ExpectCases([](std::size_t pos) { return leadingNumber("S0512,1024,0100;", pos); }, cases);
}

} // namespace
