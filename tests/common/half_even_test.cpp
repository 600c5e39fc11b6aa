#include "common/half_even.h"
#include "tests/common/number_cases.h"

// Nearest, halves to the even neighbour; nothing outside the range or for non-finite values.
TEST(roundHalfEvenInt16, RoundsToNearestWithHalvesToEvenNeighbour) {
    const std::pair<double, std::optional<int16_t>> cases[] = {
        {-3.5, -4},         {32767.5, std::nullopt},  {2.4, 2},   {12.5, 12},
        {32767.4, 32767},   {kNaN, std::nullopt},     {13.5, 14}, {kInf, std::nullopt},
        {-32768.5, -32768}, {-32768.6, std::nullopt}, {2.6, 3},   {-2.6, -3},
        {12.500000001, 13}, {3002 / 3.0, 1001},       {-0.5, 0},  {-2.5, -2}};
    expectCases(roundHalfEvenInt16, cases);
}
