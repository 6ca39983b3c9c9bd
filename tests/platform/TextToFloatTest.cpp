// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Errors.h"
#include "platform/TextToFloat.h"

#include "TableTest.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cfenv>
#include <cfloat>
#include <string>

namespace vibrona {
namespace {

constexpr char32_t Point = U'.';
constexpr char32_t Comma = U',';
constexpr char32_t ArabicDecimal = U'\u066B';

struct Accepted : testing::NamedRow {
    std::string text;
    char32_t separator;
    long double value;
};

class TextToFloatAccepts : public ::testing::TestWithParam<Accepted> {};

TEST_P(TextToFloatAccepts, GivesTheValue)
{
    const Accepted &row = GetParam();
    EXPECT_EQ(textToFloat(row.text, row.separator), row.value) << '"' << row.text << '"';
}

const Accepted acceptedRows[] = {
    {"Integer", "15", Point, 15.0L},
    {"BlankOnEachSide", " 15 ", Point, 15.0L},
    {"ManyBlanks", "    15     ", Comma, 15.0L},
    {"LeadingZeros", "00015", Point, 15.0L},
    {"PlusAndSeparatorFirst", "+.5", Point, 0.5L},
    {"PlusAndCommaFirst", "+,5", Comma, 0.5L},
    {"PointAlone", ".", Point, 0.0L},
    {"CommaAlone", ",", Comma, 0.0L},
    {"SeparatorAloneWithExponent", ".e7", Point, 0.0L},
    {"MinusZero", "-0", Point, -0.0L},
    {"DigitThenSeparator", "5.", Point, 5.0L},
    {"DigitThenComma", "5,", Comma, 5.0L},
    {"CommaFraction", "1,5", Comma, 1.5L},
    {"PointFraction", "1.5", Point, 1.5L},
    {"Negative", "-401e-1", Point, -40.1L},
    {"ExponentLetterAlone", "1e", Point, 1.0L},
    {"ExponentLetterAndSign", "1E+", Point, 1.0L},
    {"ExponentLetterAndMinus", "1e-", Comma, 1.0L},
    {"NegativeExponentPoint", "25e-1", Point, 2.5L},
    {"NegativeExponentComma", "25e-1", Comma, 2.5L},
    {"BlanksAfterExponent", "2E3  ", Point, 2000.0L},
    {"Exponent499", "1e499", Point, 1e499L},
    {"Exponent499LeadingZero", "1e0499", Point, 1e499L},
    // 0, 05, 050, 0500: the limit is reached after the last digit.
    {"Exponent0500BeyondDouble", "1e0500", Point, 1e500L},
    {"Exponent4932", "1e4932", Point, 1e4932L},
    {"JustBelowExtendedMaximum", "1.18e4932", Point, 1.18e4932L},
    {"ExtendedMaximum", "1.18973149535723176502e4932", Point, LDBL_MAX},
    {"DenormalRange", "1e-4940", Point, 1e-4940L},
    {"BelowSmallestDenormalIsZero", "1e-4952", Point, 0.0L},
    {"ManyFractionDigitsBelowRangeIsZero", "0." + std::string(6000, '0') + "1", Point, 0.0L},
    {"ManyIntegerDigitsScaledDown", "1" + std::string(600, '0') + "e-600", Point, 1.0L},
    {"CorrectlyRoundedTenth", "0.1", Point, 0.1L},
    {"CorrectlyRoundedPi", "3.14159265358979323846264338327950288", Point,
     3.14159265358979323846264338327950288L},
    {"NonAsciiSeparator", "1\u066B5", ArabicDecimal, 1.5L},
};

INSTANTIATE_TEST_SUITE_P(Grammar, TextToFloatAccepts, ::testing::ValuesIn(acceptedRows),
                         testing::RowName());

struct Rejected : testing::NamedRow {
    std::string text;
    char32_t separator;
};

class TextToFloatRejects : public ::testing::TestWithParam<Rejected> {};

TEST_P(TextToFloatRejects, QuotesTheWholeText)
{
    const Rejected &row = GetParam();
    try {
        textToFloat(row.text, row.separator);
        FAIL() << "accepted \"" << row.text << '"';
    } catch (const EConvertError &error) {
        EXPECT_EQ(error.message(), "'" + row.text + "' is not a valid floating point value");
    }
}

const Rejected rejectedRows[] = {
    {"Empty", "", Point},
    {"BlanksAlone", "   ", Point},
    {"LeadingTab", "\t15", Point},
    {"TrailingTab", "15\t", Point},
    {"LeadingNonBreakingSpace", "\u00A015", Point},
    {"LineBreak", "15\n", Comma},
    {"MinusAlone", "-", Point},
    {"PlusAlone", "+", Comma},
    {"BlankBetweenSignAndDigits", "- 5", Point},
    {"TwoSigns", "+-5", Point},
    {"SignAfterDigits", "5-", Point},
    {"ExponentLetterFirst", "e5", Point},
    {"CapitalExponentLetterFirst", "E5", Comma},
    {"PointUnderComma", "1.5", Comma},
    {"CommaUnderPoint", "1,5", Point},
    {"BlankThousandsSeparatorPoint", "1 000", Point},
    {"BlankThousandsSeparatorComma", "1 000", Comma},
    {"CommaThousandsSeparatorPoint", "1,000.5", Point},
    {"TwoSeparators", "1.2.3", Point},
    {"BlankBeforeExponent", "5 e1", Point},
    {"BlankInsideExponent", "5e 1", Point},
    {"TwoExponentSigns", "5e+-1", Point},
    {"DigitAfterExponentLimit", "1E5000", Point},
    {"NegativeDigitAfterExponentLimit", "1e-5000", Point},
    {"Exponent5001", "1e5001", Point},
    {"BeyondExtendedRange", "1E4933", Point},
    {"JustBeyondExtendedMaximum", "1.19e4932", Point},
    {"Exponent4999", "1e4999", Comma},
    {"Letters", "abc", Point},
    {"Hexadecimal", "0x10", Point},
    {"Infinity", "inf", Point},
    {"NotANumber", "nan", Point},
    {"EmbeddedNul", std::string("1\0" "5", 3), Point},
    {"HalfOfNonAsciiSeparator", "1\xD9" "5", ArabicDecimal},
};

INSTANTIATE_TEST_SUITE_P(Grammar, TextToFloatRejects, ::testing::ValuesIn(rejectedRows),
                         testing::RowName());

// The conversion must neither depend on nor disturb the caller's rounding
// mode, exception flags or errno.
TEST(TextToFloatEnvironment, LeavesTheCallersSettingsAsTheyWere)
{
    std::fesetround(FE_UPWARD);
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(FE_DIVBYZERO);
    errno = EDOM;

    const long double tenth = textToFloat("0.1", Point);
    const long double tiny = textToFloat("1e-4952", Point);

    EXPECT_EQ(std::fegetround(), FE_UPWARD);
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), FE_DIVBYZERO);
    EXPECT_EQ(errno, EDOM);
    std::fesetround(FE_TONEAREST);
    std::feclearexcept(FE_ALL_EXCEPT);
    EXPECT_EQ(tenth, 0.1L);
    EXPECT_EQ(tiny, 0.0L);
}

} // namespace
} // namespace vibrona
