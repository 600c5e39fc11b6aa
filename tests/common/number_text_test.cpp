#include "common/number_text.h"
#include "tests/common/number_cases.h"

#include <gtest/gtest.h>

#include <span>

namespace {

void ExpectTexts(std::span<const TextCase> cases, std::string (*text)(double)) {
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "expected " << c.expected);
        EXPECT_EQ(text(c.value), c.expected);
    }
}

TEST(PlainNumberText, RoundsToFifteenSignificantDigits) {
    ExpectTexts(kPlainRoundedProducts, PlainNumberText);
}

TEST(PlainNumberText, WritesDigitsWithoutTrailingZerosOrLeadingZero) {
    ExpectTexts(kPlainTexts, PlainNumberText);
}

TEST(PlainNumberText, TakesExponentFormFrom1E15AndBelow1EMinus15) {
    ExpectTexts(kPlainExponentForm, PlainNumberText);
}

TEST(PlainNumberText, NamesNonFiniteValues) { ExpectTexts(kNonFiniteTexts, PlainNumberText); }

TEST(BoxNumberText, KeepsZeroBeforePointBelowOne) { ExpectTexts(kBoxTexts, BoxNumberText); }

TEST(BoxNumberText, NamesNonFiniteValues) { ExpectTexts(kNonFiniteTexts, BoxNumberText); }

} // namespace
