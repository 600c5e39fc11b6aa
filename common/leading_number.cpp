#include "common/leading_number.h"

#include <charconv>
#include <limits>
#include <optional>
#include <string>

namespace {

// Walks the text with blanks, tabs and line feeds skipped wherever they stand.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    // The next character that counts, '\0' at the end (a NUL ends a number as well).
    char peek() {
        while (at_ < text_.size() && isBlank(text_[at_])) {
            ++at_;
        }
        return at_ < text_.size() ? text_[at_] : '\0';
    }
    void take() { ++at_; }

private:
    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

    std::string_view text_;
    std::size_t at_ = 0;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c, int radix) {
    int value = radix;
    if (isDigit(c)) {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < radix ? value : -1;
}

// The integer after "&H" or "&O"; nothing without a digit.
std::optional<double> radixInteger(Cursor& cursor, int radix) {
    double value = 0;
    bool anyDigit = false;
    for (int digit; (digit = digitValue(cursor.peek(), radix)) >= 0; cursor.take()) {
        value = value * radix + digit;
        anyDigit = true;
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    return value;
}

// Exponent digits beyond this only decide between infinity and zero.
constexpr long long kExponentLimit = 1'000'000;
// Decimal exponents past these lie far outside the double range, denormals included.
constexpr long long kOverflowExponent = 400;
constexpr long long kUnderflowExponent = -400;

// The exponent after E, e, D or d; none when no digit follows its letter and sign.
long long exponentPart(Cursor& cursor) {
    const char letter = cursor.peek();
    if (letter != 'E' && letter != 'e' && letter != 'D' && letter != 'd') {
        return 0;
    }
    cursor.take();
    bool negative = false;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        negative = cursor.peek() == '-';
        cursor.take();
    }
    long long exponent = 0;
    for (; isDigit(cursor.peek()); cursor.take()) {
        if (exponent < kExponentLimit) {
            exponent = exponent * 10 + (cursor.peek() - '0');
        }
    }
    return negative ? -exponent : exponent;
}

// |value| = 0.<significant> * 10^exponent, significant without leading zeros.
double scaledMagnitude(const std::string& significant, long long exponent) {
    if (significant.empty() || exponent < kUnderflowExponent) {
        return 0;
    }
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    if (exponent > kOverflowExponent) {
        return kInfinity;
    }
    std::string text = "0." + significant + "e";
    char digits[24];
    text.append(digits, std::to_chars(digits, digits + sizeof digits, exponent).ptr);
    double value = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec ==
        std::errc::result_out_of_range) {
        return exponent > 0 ? kInfinity : 0;
    }
    return value;
}

// The number the cursor stands on; nothing when no digit can be read there.
std::optional<double> parseNumber(Cursor& cursor) {
    if (cursor.peek() == '&') {
        cursor.take();
        const char kind = cursor.peek();
        cursor.take();
        if (kind == 'H' || kind == 'h') {
            return radixInteger(cursor, 16);
        }
        if (kind == 'O' || kind == 'o') {
            return radixInteger(cursor, 8);
        }
        return std::nullopt;
    }

    bool negative = false;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        negative = cursor.peek() == '-';
        cursor.take();
    }
    std::string significant;
    long long exponent = 0;
    bool anyDigit = false;
    bool inFraction = false;
    for (char c; (c = cursor.peek()) != '\0'; cursor.take()) {
        if (c == '.' && !inFraction) {
            inFraction = true;
            continue;
        }
        if (!isDigit(c)) {
            break;
        }
        anyDigit = true;
        if (c == '0' && significant.empty()) {
            exponent -= inFraction ? 1 : 0;
            continue;
        }
        significant += c;
        exponent += inFraction ? 0 : 1;
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    const double magnitude = scaledMagnitude(significant, exponent + exponentPart(cursor));
    return negative ? -magnitude : magnitude;
}

} // namespace

std::optional<double> leadingNumberField(std::string_view text, std::size_t pos) {
    if (pos == 0 || pos > text.size()) {
        return std::nullopt;
    }
    Cursor cursor(text.substr(pos - 1));
    return parseNumber(cursor);
}

double leadingNumber(std::string_view text, std::size_t pos) {
    return leadingNumberField(text, pos).value_or(0);
}

std::optional<double> boxNumber(std::string_view text) {
    Cursor cursor(text);
    const auto value = parseNumber(cursor);
    if (!value || cursor.peek() != ',') {
        return value;
    }
    cursor.take();
    if (isDigit(cursor.peek())) {
        return std::nullopt;
    }
    return value;
}
