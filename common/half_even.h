#pragma once

#include <cstdint>
#include <optional>

// Rounds to the nearest integer, halves to the even neighbour, into a 16-bit signed integer.
// Empty when the rounded value lies outside -32768..32767 or value is not finite.
std::optional<int16_t> roundHalfEvenInt16(double value);
