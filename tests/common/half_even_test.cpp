#include "common/half_even.h"
#include "tests/common/number_cases.h"

#include <gtest/gtest.h>

#include <span>

namespace {

void ExpectRounds(std::span<const RoundCase> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value);
        EXPECT_EQ(RoundHalfEvenInt16(c.value), c.expected);
    }
}

TEST(RoundHalfEvenInt16, RoundsHalvesToEvenNeighbour) { ExpectRounds(kHalvesToEven); }

TEST(RoundHalfEvenInt16, RoundsToNearestInteger) { ExpectRounds(kNearest); }

TEST(RoundHalfEvenInt16, EmptyOutsideRangeAndForNonFinite) { ExpectRounds(kNotInt16); }

} // namespace
