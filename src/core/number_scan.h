#pragma once
// Locale-independent readers for the integers and decimal reals found in the
// element file and in formula counts. They accept the forms the C library's
// strtol/strtod accept in the "C" locale, except that only plain decimal reals
// count: no hexadecimal, infinity or not-a-number forms.

#include <cstddef>
#include <string_view>

namespace qv {

// White space as the C library's isspace sees it in the "C" locale.
inline bool isCSpace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads an optionally signed base-10 integer at `pos` after optional white
// space. Returns the number of bytes consumed (0 when no digits were read);
// an out-of-range value saturates like strtol.
std::size_t scanLong(std::string_view text, std::size_t pos, long& value);

// Reads a decimal real at `pos` after optional white space: optional sign,
// digits with an optional point and fraction (at least one digit in all),
// optional exponent "e"/"E" with optional sign and at least one digit.
// Returns the number of bytes consumed (0 when no number was read). A value
// too large for a double comes back as +-HUGE_VAL, like strtod.
std::size_t scanDecimal(std::string_view text, std::size_t pos, double& value);

// The C library's strtod in the "C" locale, every form it accepts included
// (for ratio texts typed by the user). Returns the number of bytes consumed,
// 0 when no number could be read.
std::size_t scanCNumber(const std::string& text, double& value);

}  // namespace qv
