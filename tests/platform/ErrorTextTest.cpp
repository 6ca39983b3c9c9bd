// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ErrorText.h"

#include "TableTest.h"

#include <gtest/gtest.h>

#include <string>

namespace vibrona {
namespace {

struct TextRow : testing::NamedRow {
    std::string given;
    std::string expected;
};

class FinalPeriod : public ::testing::TestWithParam<TextRow> {};

TEST_P(FinalPeriod, IsAppendedAfterCharactersAboveThePeriod)
{
    EXPECT_EQ(withFinalPeriod(GetParam().given), GetParam().expected);
}

const TextRow finalPeriodRows[] = {
    {{"Empty"}, "", ""},
    {{"EndingInAPeriod"}, "Floating point overflow.", "Floating point overflow."},
    {{"EndingInABlank"}, "Division ", "Division "},
    {{"EndingInAParenthesis"}, "bad value (x)", "bad value (x)"},
    {{"EndingInAComma"}, "a,", "a,"},
    {{"EndingInAnExclamationMark"}, "stop!", "stop!"},
    {{"EndingInASlashAboveThePeriod"}, "path/", "path/."},
    {{"EndingInALetter"}, "Floating point overflow", "Floating point overflow."},
    {{"EndingInADigit"}, "error 5", "error 5."},
    {{"EndingInAnApostrophe"}, "'abc'", "'abc'"},
    {{"EndingInANonAsciiLetter"}, "ϕ", "ϕ."},
};

INSTANTIATE_TEST_SUITE_P(Messages, FinalPeriod, ::testing::ValuesIn(finalPeriodRows), testing::RowName());

class Title : public ::testing::TestWithParam<TextRow> {};

TEST_P(Title, IsFormedFromTheExecutablesName)
{
    EXPECT_EQ(applicationTitle(GetParam().given), GetParam().expected);
}

const TextRow titleRows[] = {
    {{"UpperCaseWithTwoDots"}, "SAMPLE.V2.EXE", "Sample"},
    {{"NoDot"}, "vibrona", "vibrona"},
    {{"FirstLetterKept"}, "Vibrona", "Vibrona"},
    {{"MixedCaseLowered"}, "ViBrOnA", "Vibrona"},
    {{"DirectoryDropped"}, "/usr/local/bin/VIBRONA", "Vibrona"},
    {{"DotInTheDirectoryIgnored"}, "./build.dir/vibrona", "vibrona"},
    {{"WindowsDirectoryDropped"}, "C:\\Apps\\SAMPLE.EXE", "Sample"},
    {{"Empty"}, "", ""},
    {{"DotFirst"}, ".hidden", ""},
    {{"NonAsciiFirstLetterKept"}, "ŽIVOT.bin", "Život"},
};

INSTANTIATE_TEST_SUITE_P(Names, Title, ::testing::ValuesIn(titleRows), testing::RowName());

} // namespace
} // namespace vibrona
