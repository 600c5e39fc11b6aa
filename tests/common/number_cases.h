#pragma once

// Case tables of the number helpers, shared by the plain run and the run under a German
// C locale, where a locale-dependent conversion would read or write "20,5".

#include "common/display_pattern.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct LeadingCase {
    std::string_view text;
    double expected;
};

inline constexpr LeadingCase kSignDigitsAndPoint[] = {
    {"20", 20},         {"2.0", 2},
    {"3.8", 3.8},       {"0.1640", 0.164},
    {"12.30", 12.3},    {"+5", 5},
    {"-100", -100},     {".5", 0.5},
    {"-.5", -0.5},      {"5.", 5},
    {"0001", 1},        {"-0", 0},
    {"0.0001", 0.0001}, {"1234567890123456789", 1234567890123456789.0},
};

inline constexpr LeadingCase kBlanksAnywhere[] = {
    {" 1 2", 12},   {"1 .5", 1.5},    {"\t-\n3", -3}, {"  2.0  ", 2},   {"- 1", -1},
    {"1 E 2", 100}, {"1e - 2", 0.01}, {"&H 1 F", 31}, {"\n\n\t 7;", 7},
};

inline constexpr LeadingCase kExponents[] = {
    {"1e3", 1000},    {"1E-2", 0.01}, {"2.5D2", 250}, {"1d+1", 10},
    {"1.5E+2x", 150}, {"-2e1", -20},  {"5E0", 5},     {"0E999", 0},
};

inline constexpr LeadingCase kExponentWithoutDigits[] = {
    {"12E", 12}, {"1E+", 1}, {"3D-;", 3}, {"4e;5", 4}, {"7Ex", 7},
};

inline constexpr LeadingCase kHexAndOctal[] = {
    {"&H1F", 31}, {"&hff", 255}, {"&HFFFF", 65535}, {"&O17", 15}, {"&o7", 7}, {"&H1G", 1},
    {"&O78", 7},  {"&H", 0},     {"&O", 0},         {"&X1", 0},   {"&", 0},   {" &H10", 16},
};

inline constexpr LeadingCase kStopsAtFirstForeignCharacter[] = {
    {"12kV", 12}, {"805;", 805}, {"1,5", 1},  {"1.2.3", 1.2}, {"1\r2", 1},    {"+-1", 0},
    {"--1", 0},   {"1-2", 1},    {"0x10", 0}, {"1E2E3", 100}, {"9.5;R", 9.5},
};

inline constexpr LeadingCase kNoNumber[] = {
    {"", 0}, {"   ", 0}, {"abc", 0}, {";", 0}, {".", 0}, {"-", 0}, {"+.", 0}, {"E5", 0},
};

inline constexpr LeadingCase kBeyondDoubleRange[] = {
    {"1E400", kInf},
    {"-1E400", -kInf},
    {"1D99999999999999999999999", kInf},
    {"1.8E308", kInf},
    {"0.00001E310", 1e305},
    {"1E-400", 0},
    {"-1E-99999999999999999999", 0},
    {"4.9E-324", std::numeric_limits<double>::denorm_min()},
};

struct PositionCase {
    std::string_view text;
    std::size_t pos;
    double expected;
};

inline constexpr PositionCase kPositions[] = {
    {"R805;", 2, 805},
    {"S0512,1024,0100;", 2, 512},
    {"S0512,1024,0100;", 7, 1024},
    {"S0512,1024,0100;", 12, 100},
    {"E0,1,0,1;", 4, 1},
    {"R1210;", 1, 0},
    {"R5;", 3, 0},
    {"R5;", 4, 0},
    {"R5;", 0, 0},
    {"", 1, 0},
    {"R", 2, 0},
};

struct LongCase {
    std::string text;
    double expected;
};

// Digit strings far longer than a double holds.
inline std::vector<LongCase> LongDigitCases() {
    const std::string zeros(5000, '0');
    return {
        {"0." + std::string(5000, '3'), 1.0 / 3},
        {"1" + zeros + "E-5000", 1},
        {"0." + zeros + "25E5001", 2.5},
        {"1" + zeros, kInf},
        {"-0." + zeros + "1", 0},
        {std::string(5000, '0') + "7", 7},
    };
}

struct TextCase {
    double value;
    std::string_view expected;
};

// Products as the writes form them: the box value times the register scale.
inline constexpr TextCase kPlainRoundedProducts[] = {
    {0.0003 * 10000, "3"},
    {0.1 + 0.2, ".3"},
    {2.05 * 10, "20.5"},
    {0.00005 * 10000, ".5"},
    {0.08615 * 10000, "861.5"},
    {9.5 * 10000, "95000"},
    {2.0 * 10, "20"},
    {3.8 * 10, "38"},
    {50.0 * 10, "500"},
    {0.164 * 10000, "1640"},
    {0.0001 * 10000, "1"},
    {0.121 * 10000, "1210"},
    {0.0861 * 10000, "861"},
    {0.0501 * 10000, "501"},
    {-0.01 * 10000, "-100"},
    {1.0 / 3, ".333333333333333"},
    {2.0 / 3, ".666666666666667"},
    {0.1234567890123456789, ".123456789012346"},
};

inline constexpr TextCase kPlainTexts[] = {
    {20, "20"},
    {1640, "1640"},
    {20.5, "20.5"},
    {0.5, ".5"},
    {-0.5, "-.5"},
    {10, "10"},
    {12.30, "12.3"},
    {0, "0"},
    {-0.0, "0"},
    {-1, "-1"},
    {0.05, ".05"},
    {-0.001, "-.001"},
    {1.5, "1.5"},
    {13.3, "13.3"},
    {100000, "100000"},
    {123456789012345, "123456789012345"},
    {999999999999999, "999999999999999"},
    {1e-15, ".000000000000001"},
    {-2.5e-15, "-.0000000000000025"},
};

inline constexpr TextCase kPlainExponentForm[] = {
    {1e15, "1E+15"},
    {999999999999999.6, "1E+15"},
    {123456789012345678.0, "1.23456789012346E+17"},
    {1.5e20, "1.5E+20"},
    {-1.5e20, "-1.5E+20"},
    {1e100, "1E+100"},
    {1.7976931348623157e308, "1.79769313486232E+308"},
    {9.99e-16, "9.99E-16"},
    {1.5e-16, "1.5E-16"},
    {-1e-16, "-1E-16"},
    {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
};

inline constexpr TextCase kBoxTexts[] = {
    {0.5, "0.5"},         {-0.5, "-0.5"},      {0.05, "0.05"}, {1.5, "1.5"},
    {13.3, "13.3"},       {12.30 + 1, "13.3"}, {0, "0"},       {-0.0, "0"},
    {0.5 + 1, "1.5"},     {0.5 - 1, "-0.5"},   {11, "11"},     {1.5e20, "1.5E+20"},
    {1.5e-16, "1.5E-16"},
};

inline constexpr TextCase kNonFiniteTexts[] = {
    {kInf, "inf"},
    {-kInf, "-inf"},
    {kNaN, "nan"},
};

struct DisplayCase {
    double value;
    DisplayPattern pattern;
    std::string_view expected;
};

inline constexpr DisplayCase kWholePattern[] = {
    {50, DisplayPattern::Whole, "50"},         {80.5, DisplayPattern::Whole, "81"},
    {805 / 10.0, DisplayPattern::Whole, "81"}, {0, DisplayPattern::Whole, ""},
    {0.4, DisplayPattern::Whole, ""},          {0.5, DisplayPattern::Whole, "1"},
    {-80.5, DisplayPattern::Whole, "-81"},     {500 / 10.0, DisplayPattern::Whole, "50"},
    {99.5, DisplayPattern::Whole, "100"},
};

inline constexpr DisplayCase kOneDecimalPattern[] = {
    {2, DisplayPattern::OneDecimal, "2.0"},
    {0.5, DisplayPattern::OneDecimal, ".5"},
    {0, DisplayPattern::OneDecimal, ".0"},
    {38 / 10.0, DisplayPattern::OneDecimal, "3.8"},
    {5 / 10.0, DisplayPattern::OneDecimal, ".5"},
    {0.05, DisplayPattern::OneDecimal, ".1"},
    {0.04, DisplayPattern::OneDecimal, ".0"},
    {-0.5, DisplayPattern::OneDecimal, "-.5"},
    {-0.05, DisplayPattern::OneDecimal, "-.1"},
    {9.96, DisplayPattern::OneDecimal, "10.0"},
    {4.8828125, DisplayPattern::OneDecimal, "4.9"},
    {4.9951171875, DisplayPattern::OneDecimal, "5.0"},
    {0.48828125, DisplayPattern::OneDecimal, ".5"},
    {0.02505, DisplayPattern::OneDecimal, ".0"},
    {2.7403, DisplayPattern::OneDecimal, "2.7"},
    {20 / 10.0, DisplayPattern::OneDecimal, "2.0"},
};

inline constexpr DisplayCase kThreeDecimalsPattern[] = {
    {5, DisplayPattern::ThreeDecimals, "5.000"},
    {0.977, DisplayPattern::ThreeDecimals, ".977"},
    {9.765625, DisplayPattern::ThreeDecimals, "9.766"},
    {0.9765625, DisplayPattern::ThreeDecimals, ".977"},
    {9.990234375, DisplayPattern::ThreeDecimals, "9.990"},
    {0, DisplayPattern::ThreeDecimals, ".000"},
    {0.5, DisplayPattern::ThreeDecimals, ".500"},
    {0.0501, DisplayPattern::ThreeDecimals, ".050"},
    {-1.5, DisplayPattern::ThreeDecimals, "-1.500"},
    {9.9995, DisplayPattern::ThreeDecimals, "10.000"},
    {(1001 * 3 / 1024.0) * (10 / 3.0), DisplayPattern::ThreeDecimals, "9.775"},
    {5.0 * 0.0861 + 5.0 + 0.0501, DisplayPattern::ThreeDecimals, "5.481"},
};

inline constexpr DisplayCase kFourDecimalsPattern[] = {
    {0.164, DisplayPattern::FourDecimals, "0.1640"},
    {0.0001, DisplayPattern::FourDecimals, "0.0001"},
    {0, DisplayPattern::FourDecimals, "0.0000"},
    {6.5535, DisplayPattern::FourDecimals, "6.5535"},
    {-0.01, DisplayPattern::FourDecimals, "-0.0100"},
    {9.5, DisplayPattern::FourDecimals, "9.5000"},
    {1640 / 10000.0, DisplayPattern::FourDecimals, "0.1640"},
    {1 / 10000.0, DisplayPattern::FourDecimals, "0.0001"},
    {65535 / 10000.0, DisplayPattern::FourDecimals, "6.5535"},
    {1210 / 10000.0, DisplayPattern::FourDecimals, "0.1210"},
    {-100 / 10000.0, DisplayPattern::FourDecimals, "-0.0100"},
    {95000 / 10000.0, DisplayPattern::FourDecimals, "9.5000"},
    {90000 / 10000.0, DisplayPattern::FourDecimals, "9.0000"},
    {861 / 10000.0, DisplayPattern::FourDecimals, "0.0861"},
    {501 / 10000.0, DisplayPattern::FourDecimals, "0.0501"},
};

// Halves that the binary value misses by a hair: the 15-digit form shows the half.
inline constexpr DisplayCase kHalvesOnFifteenDigitForm[] = {
    {2.0005, DisplayPattern::ThreeDecimals, "2.001"},
    {1.0005, DisplayPattern::ThreeDecimals, "1.001"},
    {-1.0005, DisplayPattern::ThreeDecimals, "-1.001"},
    {0.0005, DisplayPattern::ThreeDecimals, ".001"},
    {0.00005, DisplayPattern::FourDecimals, "0.0001"},
    {1.00005, DisplayPattern::FourDecimals, "1.0001"},
    {0.15, DisplayPattern::OneDecimal, ".2"},
    {0.35, DisplayPattern::OneDecimal, ".4"},
    {-0.35, DisplayPattern::OneDecimal, "-.4"},
    {2.5, DisplayPattern::Whole, "3"},
    {-2.5, DisplayPattern::Whole, "-3"},
};

inline constexpr DisplayCase kNegativeRoundingToZero[] = {
    {-0.01, DisplayPattern::OneDecimal, ".0"},
    {-0.4, DisplayPattern::Whole, ""},
    {-0.0004, DisplayPattern::ThreeDecimals, ".000"},
    {-0.00004, DisplayPattern::FourDecimals, "0.0000"},
    {-0.0, DisplayPattern::FourDecimals, "0.0000"},
};

inline constexpr DisplayCase kLargeDisplayValues[] = {
    {1e20, DisplayPattern::Whole, "100000000000000000000"},
    {-1e20, DisplayPattern::OneDecimal, "-100000000000000000000.0"},
    {1.5e20, DisplayPattern::FourDecimals, "150000000000000000000.0000"},
    {123456789012345678.0, DisplayPattern::ThreeDecimals, "123456789012346000.000"},
    {1e-20, DisplayPattern::FourDecimals, "0.0000"},
};

inline constexpr DisplayCase kNonFiniteDisplay[] = {
    {kInf, DisplayPattern::Whole, "inf"},
    {-kInf, DisplayPattern::FourDecimals, "-inf"},
    {kNaN, DisplayPattern::OneDecimal, "nan"},
};

struct RoundCase {
    double value;
    std::optional<int16_t> expected;
};

inline constexpr RoundCase kHalvesToEven[] = {
    {12.5, 12}, {13.5, 14}, {-2.5, -2},       {-3.5, -4},         {0.5, 0},
    {1.5, 2},   {-0.5, 0},  {32766.5, 32766}, {-32768.5, -32768},
};

inline constexpr RoundCase kNearest[] = {
    {2.4, 2},     {2.6, 3},           {-2.6, -3},       {-2.4, -2},         {0, 0},
    {3002, 3002}, {3002 / 3.0, 1001}, {32767.4, 32767}, {-32768.4, -32768}, {12.500000001, 13},
};

inline constexpr RoundCase kNotInt16[] = {
    {32767.5, std::nullopt}, {32768, std::nullopt}, {-32768.6, std::nullopt},
    {-32769, std::nullopt},  {1e300, std::nullopt}, {-1e300, std::nullopt},
    {kInf, std::nullopt},    {-kInf, std::nullopt}, {kNaN, std::nullopt},
};
