#include "common/leading_number.h"
#include "tests/fuzz/fuzz_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <regex>
#include <string>

namespace {

const std::regex kRadix("&([Hh][0-9A-Fa-f]+|[Oo][0-7]+)");
const std::regex kDecimal(R"([+-]?(\d+\.?\d*|\.\d+)([EeDd][+-]?\d+)?)");

bool startsWith(const std::string& s, const std::regex& re, std::smatch& match) {
    return std::regex_search(s, match, re, std::regex_constants::match_continuous);
}

// A number as its written-out form reads: decimals by strtod, "&H"/"&O" integers digit by
// digit.
std::optional<double> readingOf(const std::string& s) {
    std::smatch match;
    if (startsWith(s, kRadix, match)) {
        const int radix = (match.str(1)[0] | 0x20) == 'h' ? 16 : 8;
        double value = 0;
        for (const char c : match.str(1).substr(1)) {
            value = value * radix + std::stoi(std::string(1, c), nullptr, 16);
        }
        return value;
    }
    if (s.starts_with('&') || !startsWith(s, kDecimal, match)) {
        return std::nullopt;
    }
    std::string written = match.str(0);
    std::ranges::replace_if(
        written, [](char c) { return c == 'D' || c == 'd'; }, 'e');
    return std::strtod(written.c_str(), nullptr);
}

// Blanks, tabs and line feeds count nowhere in a number.
std::string withoutBlanks(std::string_view text) {
    std::string kept(text);
    std::erase_if(kept, [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
    return kept;
}

void checkField(std::string_view text, std::size_t pos) {
    const auto field = leadingNumberField(text, pos);
    const auto expected = pos == 0 || pos > text.size()
                              ? std::nullopt
                              : readingOf(withoutBlanks(text.substr(pos - 1)));
    require(field == expected,
            "a field reads the correctly rounded number, nothing without a digit");
    require(leadingNumber(text, pos) == field.value_or(0),
            "the leading number is the field's number, 0 without one");
}

} // namespace

// Input: a byte giving the 1-based field position, then the reply or box text. The fields of the E,
// S1 and R replies are read as well.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    // The given position, the one past the end, and where the E (flags), S1 (counts) and R
    // (register value) replies hold fields, and around.
    for (const std::size_t pos :
         std::array<std::size_t, 9>{data[0], text.size() + 1, 0, 1, 2, 4, 7, 12, 26}) {
        checkField(text, pos);
    }
    const auto box = boxNumber(text);
    require(!box || box == leadingNumberField(text, 1),
            "a box sends its leading number or nothing");
    return 0;
}
