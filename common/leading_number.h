#pragma once

#include <cstddef>
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
