#include "common/leading_number.h"
#include "tests/fuzz/fuzz_check.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <regex>
#include <string>

namespace {

// A number as the C library reads its written-out form: decimals by strtod, "&H"/"&O" integers
// summed in long double; end is where its text stops.
struct Reading {
    std::optional<double> value;
    std::size_t end = 0;
    bool radixInteger = false;
};

const std::regex kRadix("&([Hh][0-9A-Fa-f]+|[Oo][0-7]+)");
const std::regex kDecimal(R"([+-]?(\d+\.?\d*|\.\d+)([EeDd][+-]?\d+)?)");
// After a number: a decimal comma, perhaps behind an exponent letter and sign without digits.
const std::regex kCommaAfter(R"(([EeDd][+-]?)?,\d)");

bool startsWith(const std::string& s, const std::regex& re, std::smatch& match) {
    return std::regex_search(s, match, re, std::regex_constants::match_continuous);
}

Reading readingOf(const std::string& s) {
    std::smatch match;
    if (startsWith(s, kRadix, match)) {
        const std::string digits = match.str(1).substr(1);
        const int radix = (match.str(1)[0] | 0x20) == 'h' ? 16 : 8;
        long double value = 0;
        for (const char c : digits) {
            value = value * radix + std::stoi(std::string(1, c), nullptr, 16);
        }
        return {static_cast<double>(value), static_cast<std::size_t>(match.length(0)), true};
    }
    if (s.starts_with('&') || !startsWith(s, kDecimal, match)) {
        return {};
    }
    std::string written = match.str(0);
    for (char& c : written) {
        c = (c == 'D' || c == 'd') ? 'e' : c;
    }
    return {std::strtod(written.c_str(), nullptr), written.size()};
}

// Blanks, tabs and line feeds count nowhere in a number.
std::string withoutBlanks(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            kept += c;
        }
    }
    return kept;
}

// The parse adds digit by digit in doubles; the reference rounds once. Beyond 2^53 they may
// part by an ulp, near the top of the range as the largest double against infinity.
bool closeTo(double parsed, double rounded) {
    constexpr double kUlps = 0x1p-50;
    if (std::isinf(parsed) || std::isinf(rounded)) {
        const double other = std::isinf(parsed) ? rounded : parsed;
        return std::isinf(other) ||
               std::fabs(other) >= std::numeric_limits<double>::max() * (1 - kUlps);
    }
    return std::fabs(parsed - rounded) <= std::fabs(rounded) * kUlps;
}

void checkField(std::string_view text, std::size_t pos) {
    const auto field = leadingNumberField(text, pos);
    const Reading expected =
        pos == 0 || pos > text.size() ? Reading{} : readingOf(withoutBlanks(text.substr(pos - 1)));
    require(field.has_value() == expected.value.has_value(),
            "a field holds a number exactly when a digit stands where the number begins");
    require(leadingNumber(text, pos) == field.value_or(0),
            "the leading number is the field's number, 0 without one");
    if (!field) {
        return;
    }
    require(!std::isnan(*field), "a field's number is never NaN");
    if (expected.radixInteger) {
        require(closeTo(*field, *expected.value), "a &H/&O field reads its integer");
    } else {
        require(*field == *expected.value, "a decimal field reads the correctly rounded number");
    }
}

void checkBox(std::string_view text) {
    const auto box = boxNumber(text);
    const auto field = leadingNumberField(text, 1);
    const std::string s = withoutBlanks(text);
    const std::string after = s.substr(readingOf(s).end);
    std::smatch match;
    const bool decimalComma = startsWith(after, kCommaAfter, match);
    if (box) {
        require(field && *box == *field, "a box sends its leading number");
        require(!decimalComma || match.length(1) != 0, "a box with a decimal comma sends nothing");
    } else {
        require(!field || decimalComma, "a box with a number and no decimal comma sends it");
    }
}

// Where the E (flags), S1 (counts) and R (register value) replies hold fields, and around.
constexpr std::size_t kReplyFieldPositions[] = {0, 1, 2, 4, 7, 12, 26};

} // namespace

// Input: a byte giving the 1-based field position, then the reply or box text. The fields of the
// E, S1 and R replies are read as well.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    checkField(text, data[0]);
    for (const std::size_t pos : kReplyFieldPositions) {
        checkField(text, pos);
    }
    checkField(text, text.size() + 1);
    checkBox(text);
    return 0;
}
