#include "common/leading_number.h"
#include "tests/common/number_cases.h"

#include <gtest/gtest.h>

#include <span>

namespace {

void ExpectReads(std::span<const LeadingCase> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << '"');
        EXPECT_EQ(LeadingNumber(c.text), c.expected);
    }
}

TEST(LeadingNumber, ReadsSignDigitsAndPoint) { ExpectReads(kSignDigitsAndPoint); }

TEST(LeadingNumber, SkipsBlanksTabsAndLineFeedsAnywhere) { ExpectReads(kBlanksAnywhere); }

TEST(LeadingNumber, ReadsExponentAfterEOrD) { ExpectReads(kExponents); }

TEST(LeadingNumber, ExponentLetterWithoutDigitsEndsNumberBeforeIt) {
    ExpectReads(kExponentWithoutDigits);
}

TEST(LeadingNumber, ReadsHexadecimalAndOctalIntegers) { ExpectReads(kHexAndOctal); }

TEST(LeadingNumber, StopsAtFirstCharacterThatCannotContinue) {
    ExpectReads(kStopsAtFirstForeignCharacter);
}

TEST(LeadingNumber, TextWithoutNumberGivesZero) { ExpectReads(kNoNumber); }

TEST(LeadingNumber, MagnitudeBeyondDoubleRangeGivesInfinityOrZero) {
    ExpectReads(kBeyondDoubleRange);
}

TEST(LeadingNumber, ReadsFromOneBasedPosition) {
    for (const auto& c : kPositions) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" from " << c.pos);
        EXPECT_EQ(LeadingNumber(c.text, c.pos), c.expected);
    }
}

TEST(LeadingNumber, ReadsThousandsOfDigits) {
    for (const auto& c : LongDigitCases()) {
        SCOPED_TRACE(testing::Message()
                     << c.text.substr(0, 20) << "... (" << c.text.size() << " characters)");
        EXPECT_EQ(LeadingNumber(c.text), c.expected);
    }
}

} // namespace
