#include "common/half_even.h"
#include "tests/common/number_cases.h"

namespace {

TEST(roundHalfEvenInt16, RoundsToNearestWithHalvesToEvenNeighbour) {
    const std::pair<double, int16_t> cases[] = {
        {0, 0},   {2.4, 2},   {-2.6, -3}, {12.5, 12},       {32766.5, 32766},   {12.500000001, 13},
        {2.6, 3}, {-0.5, 0},  {-2.5, -2}, {-3.5, -4},       {-32768.4, -32768}, {3002 / 3.0, 1001},
        {0.5, 0}, {13.5, 14}, {-2.4, -2}, {32767.4, 32767}, {-32768.5, -32768},
    };
    ExpectCases(roundHalfEvenInt16, cases);
}

TEST(roundHalfEvenInt16, EmptyOutsideRangeAndForNonFinite) {
    for (double value : {32767.5, 32768.0, -32768.6, -32769.0, 1e300, kInf, -kInf, kNaN}) {
        SCOPED_TRACE(testing::Message() << "value " << value);
        EXPECT_EQ(roundHalfEvenInt16(value), std::nullopt);
    }
}

} // namespace
