// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace vibrona {

// Reads a number typed by the user, as the inputs of the window accept it:
//
//   text     = blank* [sign] mantissa [exponent] blank* end
//   blank    = " " (code 32 only: tabs and non-breaking spaces are not blanks)
//   sign     = "+" | "-"
//   mantissa = digit* [separator digit*]   with at least one digit or the separator
//   exponent = ("E" | "e") [sign] digit*   (no digits: exponent 0)
//
// The separator is one character, the user's decimal separator; no thousands
// separator is accepted. Exponent digits are consumed only while the exponent
// read so far is below 500, so "1e0500" stops after "1e050"... and fails only
// if a digit is left over.
//
// The value is (all mantissa digits as one integer) x 10^(exponent - digits
// after the separator), correctly rounded to the 80-bit extended format. A
// value beyond the extended range (about 1.19e4932) rejects the text; one
// below its smallest denormal becomes 0. The caller's floating-point
// environment (flags, rounding, errno) is left as it was.
//
// `text` is UTF-8; `decimalSeparator` is a Unicode code point.
// Throws EConvertError, quoting the whole text, when the text is rejected.
long double textToFloat(std::string_view text, char32_t decimalSeparator);

// The UTF-8 bytes of one code point (the separator as it appears in a text).
std::string utf8Encode(char32_t codePoint);

} // namespace vibrona
