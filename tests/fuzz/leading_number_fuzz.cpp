#include "common/leading_number.h"
#include "tests/fuzz/fuzz_check.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

// A number as glibc's strtod reads its written-out form; end is where its text stops.
struct Reading {
    std::optional<double> value;
    std::size_t end = 0;
    bool radixInteger = false;
};

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

bool isDigitOf(char c, int radix) {
    const std::string_view digits = "0123456789abcdef";
    const auto at = digits.find(static_cast<char>(c >= 'A' && c <= 'F' ? c - 'A' + 'a' : c));
    return at != std::string_view::npos && static_cast<int>(at) < radix;
}

std::size_t runEnd(const std::string& s, std::size_t from, int radix) {
    while (from < s.size() && isDigitOf(s[from], radix)) {
        ++from;
    }
    return from;
}

double strtodOf(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// Octal digits as hexadecimal ones, three bits each, so that strtod rounds them.
std::string octalAsHex(const std::string& octal) {
    std::string bits;
    for (const char c : octal) {
        const int v = c - '0';
        bits += {static_cast<char>('0' + (v >> 2)), static_cast<char>('0' + ((v >> 1) & 1)),
                 static_cast<char>('0' + (v & 1))};
    }
    bits.insert(0, (4 - bits.size() % 4) % 4, '0');
    std::string hex;
    for (std::size_t i = 0; i < bits.size(); i += 4) {
        hex += "0123456789abcdef"[std::stoi(bits.substr(i, 4), nullptr, 2)];
    }
    return hex;
}

Reading radixReading(const std::string& s) {
    const char kind = s.size() > 1 ? s[1] : '\0';
    const int radix = (kind == 'H' || kind == 'h') ? 16 : (kind == 'O' || kind == 'o') ? 8 : 0;
    if (radix == 0) {
        return {};
    }
    const std::size_t end = runEnd(s, 2, radix);
    if (end == 2) {
        return {};
    }
    const std::string digits = s.substr(2, end - 2);
    return {strtodOf("0x" + (radix == 16 ? digits : octalAsHex(digits))), end, true};
}

// sign, digits with at most one ".", then E/e/D/d, sign and digits when digits follow.
Reading decimalReading(const std::string& s) {
    std::size_t at = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
    const std::size_t intEnd = runEnd(s, at, 10);
    std::size_t mantissaEnd = intEnd;
    if (intEnd < s.size() && s[intEnd] == '.') {
        mantissaEnd = runEnd(s, intEnd + 1, 10);
    }
    if (intEnd == at && mantissaEnd <= intEnd + 1) {
        return {};
    }
    std::string written = s.substr(0, mantissaEnd);
    at = mantissaEnd;
    if (at < s.size() && std::string_view("EeDd").find(s[at]) != std::string_view::npos) {
        std::size_t digitsAt = at + 1;
        if (digitsAt < s.size() && (s[digitsAt] == '+' || s[digitsAt] == '-')) {
            ++digitsAt;
        }
        const std::size_t exponentEnd = runEnd(s, digitsAt, 10);
        if (exponentEnd > digitsAt) {
            written += "e" + s.substr(at + 1, exponentEnd - at - 1);
            at = exponentEnd;
        }
    }
    return {strtodOf(written), at};
}

Reading readingOf(const std::string& s) {
    return (!s.empty() && s[0] == '&') ? radixReading(s) : decimalReading(s);
}

// The parse adds digit by digit in doubles; strtod rounds once. Beyond 2^53 they may part by
// an ulp, near the top of the range as the largest double against infinity.
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
    const Reading expected = readingOf(s);
    // A comma and a digit after the number, an exponent letter and sign without digits
    // perhaps between.
    std::size_t after = expected.end;
    if (after < s.size() && std::string_view("EeDd").find(s[after]) != std::string_view::npos) {
        ++after;
        if (after < s.size() && (s[after] == '+' || s[after] == '-')) {
            ++after;
        }
    }
    const bool decimalComma =
        after + 1 < s.size() && s[after] == ',' && isDigitOf(s[after + 1], 10);
    const bool commaRightAfter =
        expected.end + 1 < s.size() && s[expected.end] == ',' && isDigitOf(s[expected.end + 1], 10);
    if (box) {
        require(field && *box == *field, "a box sends its leading number");
        require(!commaRightAfter, "a box with a decimal comma sends nothing");
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
