#pragma once

#include "sim/controller.h"

#include <array>
#include <optional>
#include <string_view>

// The values the options and the control channel take, read the same way by both.
namespace simvalues {

constexpr long maxLateMs = 600000;
constexpr long maxCommandCount = 1000000000;
constexpr long maxNoise = 100;

std::optional<long> parseInteger(std::string_view text, long min, long max);

// A monitor count 0..9999, or "-" for a count that follows its source (outer nullopt: invalid).
std::optional<std::optional<int>> parseCount(std::string_view text);

// Thirteen "0"/"1" characters, XRAY_STATUS first.
std::optional<std::array<bool, Controller::flagCount>> parseFlags(std::string_view text);

} // namespace simvalues
