#include "sim/sim_values.h"

#include <charconv>

namespace simvalues {

std::optional<long> parseInteger(std::string_view text, long min, long max) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < min ||
        value > max)
        return std::nullopt;
    return value;
}

std::optional<std::optional<int>> parseCount(std::string_view text) {
    if (text == "-")
        return std::optional<std::optional<int>>(std::in_place);
    if (const auto value = parseInteger(text, 0, Controller::maxCount))
        return std::optional<int>(static_cast<int>(*value));
    return std::nullopt;
}

std::optional<std::array<bool, Controller::flagCount>> parseFlags(std::string_view text) {
    if (text.size() != Controller::flagCount)
        return std::nullopt;
    std::array<bool, Controller::flagCount> flags{};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '0' && text[i] != '1')
            return std::nullopt;
        flags[i] = text[i] == '1';
    }
    return flags;
}

} // namespace simvalues
