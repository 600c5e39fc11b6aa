#include "common/display_pattern.h"
#include "tests/common/number_cases.h"

#include <gtest/gtest.h>

#include <span>

namespace {

void ExpectShows(std::span<const DisplayCase> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "pattern " << static_cast<int>(c.pattern)
                                        << ", expected \"" << c.expected << '"');
        EXPECT_EQ(FormatDisplay(c.value, c.pattern), c.expected);
    }
}

TEST(FormatDisplay, WholePatternIsEmptyForZero) { ExpectShows(kWholePattern); }

TEST(FormatDisplay, OneDecimalPatternDropsIntegerZero) { ExpectShows(kOneDecimalPattern); }

TEST(FormatDisplay, ThreeDecimalsPatternDropsIntegerZero) { ExpectShows(kThreeDecimalsPattern); }

TEST(FormatDisplay, FourDecimalsPatternKeepsIntegerDigit) { ExpectShows(kFourDecimalsPattern); }

TEST(FormatDisplay, RoundsHalvesOfFifteenDigitFormAwayFromZero) {
    ExpectShows(kHalvesOnFifteenDigitForm);
}

TEST(FormatDisplay, NegativeValueRoundingToZeroShowsNoSign) {
    ExpectShows(kNegativeRoundingToZero);
}

TEST(FormatDisplay, LargeValuesShowAllIntegerDigits) { ExpectShows(kLargeDisplayValues); }

TEST(FormatDisplay, NamesNonFiniteValues) { ExpectShows(kNonFiniteDisplay); }

} // namespace
