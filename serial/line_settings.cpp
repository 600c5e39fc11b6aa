#include "serial/line_settings.h"

#include <cctype>
#include <charconv>

#include "common/split_text.h"

namespace {

constexpr uint32_t kFewestDataBits = 5;
constexpr uint32_t kMostDataBits = 8;

std::optional<uint32_t> numberOf(const std::string& text) {
    uint32_t value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<LineSettings::Parity> parityOf(const std::string& letter) {
    using Parity = LineSettings::Parity;
    static constexpr struct {
        char letter;
        Parity parity;
    } kParities[] = {{'N', Parity::None},
                     {'E', Parity::Even},
                     {'O', Parity::Odd},
                     {'M', Parity::Mark},
                     {'S', Parity::Space}};
    if (letter.size() != 1) {
        return std::nullopt;
    }
    const auto upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])));
    for (const auto& p : kParities) {
        if (upper == p.letter) {
            return p.parity;
        }
    }
    return std::nullopt;
}

std::optional<LineSettings::StopBits> stopBitsOf(const std::string& text) {
    if (text == "1") {
        return LineSettings::StopBits::One;
    }
    if (text == "1.5") {
        return LineSettings::StopBits::OneAndHalf;
    }
    if (text == "2") {
        return LineSettings::StopBits::Two;
    }
    return std::nullopt;
}

} // namespace

std::optional<LineSettings> parseLineSettings(const std::string& text) {
    const auto parts = splitAt(text, ',');
    if (parts.size() != 4) {
        return std::nullopt;
    }
    const auto baud = numberOf(parts[0]);
    const auto parity = parityOf(parts[1]);
    const auto bits = numberOf(parts[2]);
    const auto stop = stopBitsOf(parts[3]);
    if (!baud || *baud == 0 || !parity || !bits || *bits < kFewestDataBits ||
        *bits > kMostDataBits || !stop) {
        return std::nullopt;
    }
    return LineSettings{*baud, *parity, static_cast<uint8_t>(*bits), *stop};
}
