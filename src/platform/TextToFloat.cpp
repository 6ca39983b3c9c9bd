// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TextToFloat.h"

#include "platform/Errors.h"
#include "platform/ExtendedPrecision.h"

#include <cerrno>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <locale.h>

namespace vibrona {

namespace {

constexpr char Blank = ' ';
// Once the exponent read so far has reached this, no further digit is taken.
constexpr std::int64_t ExponentDigitLimit = 500;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The "C" locale, so that the library conversion below never sees the
// user's locale (Qt sets LC_ALL from the environment at start-up).
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return locale;
}

// Keeps the caller's floating-point environment and errno untouched while
// the conversion works with every exception masked and rounding to nearest.
class FloatingPointGuard {
public:
    FloatingPointGuard() : m_errno(errno)
    {
        std::feholdexcept(&m_environment);
        std::fesetround(FE_TONEAREST);
        errno = 0;
    }
    ~FloatingPointGuard()
    {
        std::fesetenv(&m_environment);
        errno = m_errno;
    }
    FloatingPointGuard(const FloatingPointGuard &) = delete;
    FloatingPointGuard &operator=(const FloatingPointGuard &) = delete;

private:
    std::fenv_t m_environment{};
    int m_errno;
};

} // namespace

std::string utf8Encode(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

long double textToFloat(std::string_view text, char32_t decimalSeparator)
{
    const std::string separator = utf8Encode(decimalSeparator);
    const auto reject = [text]() { return EConvertError(std::string(text)); };

    std::size_t pos = 0;
    const auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };

    while (at(pos) == Blank)
        ++pos;

    bool negative = false;
    if (at(pos) == '+' || at(pos) == '-') {
        negative = at(pos) == '-';
        ++pos;
    }

    // All mantissa digits form one integer; leading zeros add nothing to it.
    std::string digits;
    bool sawDigit = false;
    std::int64_t fractionDigits = 0;
    const auto takeDigits = [&](bool fraction) {
        while (isDigit(at(pos))) {
            sawDigit = true;
            if (!(digits.empty() && text[pos] == '0'))
                digits += text[pos];
            if (fraction)
                ++fractionDigits;
            ++pos;
        }
    };
    takeDigits(false);
    bool sawSeparator = false;
    if (text.substr(pos, separator.size()) == separator) {
        sawSeparator = true;
        pos += separator.size();
        takeDigits(true);
    }
    if (!sawDigit && !sawSeparator)
        throw reject();

    std::int64_t exponent = 0;
    if (at(pos) == 'E' || at(pos) == 'e') {
        ++pos;
        bool exponentNegative = false;
        if (at(pos) == '+' || at(pos) == '-') {
            exponentNegative = at(pos) == '-';
            ++pos;
        }
        while (exponent < ExponentDigitLimit && isDigit(at(pos))) {
            exponent = exponent * 10 + (text[pos] - '0');
            ++pos;
        }
        if (exponentNegative)
            exponent = -exponent;
    }

    while (at(pos) == Blank)
        ++pos;
    if (pos != text.size())
        throw reject();

    if (digits.empty())
        return negative ? -0.0L : 0.0L;

    // The library conversion rounds correctly; it is given the integer and the
    // power of ten in a form with no decimal point, so no locale enters.
    const std::string normalised = digits + "e" + std::to_string(exponent - fractionDigits);
    long double value = 0.0L;
    {
        const FloatingPointGuard guard;
        value = strtold_l(normalised.c_str(), nullptr, cLocale());
    }
    if (std::isinf(value))
        throw reject();
    return negative ? -value : value;
}

} // namespace vibrona
