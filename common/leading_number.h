#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// The leading number of text from the 1-based position pos on: blanks, tabs and line feeds
// are skipped wherever they stand; optional sign; digits with at most one "."; optional
// exponent (E, e, D or d, optional sign, digits; a letter and sign without digits end the
// number before the letter, so "12E" reads 12); "&H"/"&O" (either case) read an unsigned
// hexadecimal/octal integer ("&HFFFF" reads 65535). Reading stops at the first character that
// cannot continue the number. No number, an empty text, position 0 or a position beyond the
// end give 0. A magnitude beyond the double range gives an infinite result (callers test
// std::isfinite), one below the smallest denormal gives 0. Independent of the C locale.
double leadingNumber(std::string_view text, std::size_t pos = 1);

// The same parse, telling a field that holds no number apart from one that reads 0: nothing
// when no digit stands there ("", "abc", "-", "&H", a position beyond the end).
std::optional<double> leadingNumberField(std::string_view text, std::size_t pos = 1);

// The number a text box sends: its leading number, or nothing when the box holds none or a
// decimal comma ("1,5" would otherwise go out as 1). "12kV", "&H10" and " 2.5 " keep their
// leading number.
std::optional<double> boxNumber(std::string_view text);
