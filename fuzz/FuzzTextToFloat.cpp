// SPDX-License-Identifier: GPL-3.0-or-later
//
// textToFloat against a second reading of the grammar in TextToFloat.h.
//
// Input: one control byte, then the text (at most 1 MiB).
//   bit 0     the decimal separator: 0 '.', 1 ','
//   bits 1-2  the caller's rounding mode: nearest, down, up, toward zero
//   bit 3     the caller enters with every exception flag raised
//
// The text must be accepted exactly when the grammar below accepts it and
// the value lies within the extended range; an accepted value must have the
// bits that the C library gives for the same number written in the C
// locale's own form; a rejected text must be quoted whole in the message;
// and the caller's rounding mode, exception flags and errno must survive.

#include "platform/Errors.h"
#include "platform/TextToFloat.h"

#include <algorithm>
#include <cerrno>
#include <cfenv>
#include <cinttypes>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <optional>
#include <string>
#include <string_view>

namespace {

using vibrona::EConvertError;
using vibrona::textToFloat;

// A text longer than any input box holds, and still quick to read in linear time.
constexpr std::size_t MaxTextBytes = std::size_t{1} << 20;

constexpr std::uint8_t CommaBit = 0x01;
constexpr unsigned RoundingShift = 1;
constexpr std::uint8_t RoundingMask = 0x03;
constexpr std::uint8_t RaisedFlagsBit = 0x08;
constexpr int RoundingModes[] = {FE_TONEAREST, FE_DOWNWARD, FE_UPWARD, FE_TOWARDZERO};
// Not a value the conversion would leave behind by itself (it could set ERANGE or 0).
constexpr int CallerErrno = EDOM;

// An x87 extended value is 10 bytes (sign, exponent, 64-bit significand);
// the rest of the 16-byte long double is padding with no defined content.
constexpr std::size_t ExtendedBytes = 10;
// The part of an offending text that a report shows.
constexpr int ShownTextBytes = 200;

constexpr char Blank = ' ';

bool isDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void fail(const char *what, const std::string &text)
{
    std::fprintf(stderr, "textToFloat: %s\n  text (%zu bytes): \"%.*s\"%s\n", what, text.size(), ShownTextBytes,
                 text.c_str(), text.size() > ShownTextBytes ? "..." : "");
    std::abort();
}

// How many of an exponent's digits the grammar takes. Leading zeros keep the
// exponent at 0 and are all taken. Of the significant digits the first two
// give at most 99 and the third at most 999, so both are taken; a fourth
// only when the first three stay below 500, after which the exponent is at
// least 1000 and nothing more is taken.
std::size_t exponentDigitsTaken(std::string_view digits)
{
    const std::size_t zeros = std::min(digits.find_first_not_of('0'), digits.size());
    const std::string_view significant = digits.substr(zeros);
    constexpr std::size_t FirstStop = 3;
    constexpr std::size_t LastStop = 4;
    constexpr std::string_view Limit = "500";
    const bool stopsEarly = significant.size() >= FirstStop && significant.substr(0, FirstStop) >= Limit;
    return zeros + std::min(significant.size(), stopsEarly ? FirstStop : LastStop);
}

// The number of an accepted text in the form strtold reads in the C locale,
// "[sign] int '.' fraction ['e' [sign] exponent]" with the integer part never
// empty; nothing when the grammar rejects the text.
std::optional<std::string> cLocaleForm(std::string_view text, char separator)
{
    // No part of the number contains a blank, so the blanks on both sides
    // can go first and the rest must be the number alone.
    const std::size_t first = text.find_first_not_of(Blank);
    if (first == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = text.substr(first, text.find_last_not_of(Blank) + 1 - first);

    const auto takeWhile = [&rest](auto accepts) {
        std::size_t n = 0;
        while (n < rest.size() && accepts(rest[n]))
            ++n;
        const std::string_view taken = rest.substr(0, n);
        rest.remove_prefix(n);
        return taken;
    };
    const auto takeOne = [&rest](auto accepts) {
        if (rest.empty() || !accepts(rest.front()))
            return std::string_view{};
        const std::string_view taken = rest.substr(0, 1);
        rest.remove_prefix(1);
        return taken;
    };
    const auto isSign = [](char c) { return c == '+' || c == '-'; };
    const auto isSeparator = [separator](char c) { return c == separator; };
    const auto isExponentLetter = [](char c) { return c == 'e' || c == 'E'; };

    std::string form(takeOne(isSign));
    const std::string_view integer = takeWhile(isDigit);
    const bool separatorSeen = !takeOne(isSeparator).empty();
    const std::string_view fraction = separatorSeen ? takeWhile(isDigit) : std::string_view{};
    if (integer.empty() && !separatorSeen)
        return std::nullopt;
    form += integer.empty() ? std::string_view{"0"} : integer;
    form += '.';
    form += fraction;

    if (!takeOne(isExponentLetter).empty()) {
        form += 'e';
        form += takeOne(isSign);
        const std::string_view exponent = takeWhile(isDigit);
        if (exponentDigitsTaken(exponent) != exponent.size())
            return std::nullopt; // a digit left over after the limit
        form += exponent.empty() ? std::string_view{"0"} : exponent;
    }
    if (!rest.empty())
        return std::nullopt;
    return form;
}

// The C library's correctly rounded reading of a C-locale number.
long double libraryValue(const std::string &form, const std::string &text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    char *end = nullptr;
    const long double value = strtold_l(form.c_str(), &end, cLocale);
    if (end != form.c_str() + form.size())
        fail("the C library stops inside the reference form (the fuzzer is wrong)", text);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0 || size - 1 > MaxTextBytes)
        return 0;
    const std::uint8_t control = data[0];
    const char separator = (control & CommaBit) ? ',' : '.';
    const int rounding = RoundingModes[(control >> RoundingShift) & RoundingMask];
    const int raised = (control & RaisedFlagsBit) ? FE_ALL_EXCEPT : 0;
    const std::string text(reinterpret_cast<const char *>(data + 1), size - 1);

    std::optional<long double> value;
    std::string message;
    std::fesetround(rounding);
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(raised);
    errno = CallerErrno;
    try {
        value = textToFloat(text, static_cast<char32_t>(separator));
    } catch (const EConvertError &error) {
        message = error.message();
    }
    const bool environmentKept =
        std::fegetround() == rounding && std::fetestexcept(FE_ALL_EXCEPT) == raised && errno == CallerErrno;
    // The reference below reads in the default environment.
    std::fesetround(FE_TONEAREST);
    std::feclearexcept(FE_ALL_EXCEPT);
    errno = 0;
    if (!environmentKept)
        fail("the caller's rounding mode, exception flags or errno changed", text);

    std::optional<long double> expected;
    if (const std::optional<std::string> form = cLocaleForm(text, separator)) {
        const long double reference = libraryValue(*form, text);
        if (!std::isinf(reference))
            expected = reference;
    }

    if (value.has_value() != expected.has_value())
        fail(value ? "accepted a text that the grammar rejects or that lies beyond the extended range"
                   : "rejected a text that the grammar accepts, with a value in the extended range",
             text);
    if (value) {
        if (std::memcmp(&*value, &*expected, ExtendedBytes) != 0) {
            std::fprintf(stderr, "got %La, the C library reads %La\n", *value, *expected);
            fail("the value is not the correctly rounded one", text);
        }
    } else if (message.find("'" + text + "'") == std::string::npos) {
        fail("the message does not quote the whole text", text);
    }
    return 0;
}
