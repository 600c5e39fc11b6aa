#include "common/half_even.h"
#include "tests/common/number_cases.h"

namespace {

// Nearest, halves to the even neighbour; nothing outside the range or for non-finite values.
TEST(roundHalfEvenInt16, RoundsToNearestWithHalvesToEvenNeighbour) {
    const std::pair<double, std::optional<int16_t>> cases[] = {
        {0, 0},          {12.500000001, 13},       {2.6, 3},   {-32768.5, -32768},
        {2.4, 2},        {3002 / 3.0, 1001},       {12.5, 12}, {32767.5, std::nullopt},
        {13.5, 14},      {-32768.6, std::nullopt}, {-2.5, -2}, {kInf, std::nullopt},
        {-3.5, -4},      {kNaN, std::nullopt},     {-2.6, -3}, {-0.5, 0},
        {32767.4, 32767}};
    ExpectCases(roundHalfEvenInt16, cases);
}

} // namespace
