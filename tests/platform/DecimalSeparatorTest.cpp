// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DecimalSeparator.h"

#include "TableTest.h"

#include <gtest/gtest.h>

namespace vibrona {
namespace {

struct SeparatorRow : testing::NamedRow {
    const char *localeSeparator; // UTF-8
    char32_t expected;
};

class DecimalSeparator : public ::testing::TestWithParam<SeparatorRow> {};

TEST_P(DecimalSeparator, IsTheFirstCharacterOfTheLocales)
{
    EXPECT_EQ(decimalSeparatorOf(QString::fromUtf8(GetParam().localeSeparator)), GetParam().expected);
}

const SeparatorRow separatorRows[] = {
    {{"Point"}, ".", U'.'},
    {{"Comma"}, ",", U','},
    {{"NoneGivesThePoint"}, "", U'.'},
    {{"ArabicBeyondAscii"}, "٫", U'\u066B'},
    {{"BeyondTheBasicPlaneKeptWhole"}, "𝟙x", U'\U0001D7D9'},
    {{"OnlyTheFirstOfSeveral"}, ",.", U','},
};

INSTANTIATE_TEST_SUITE_P(Locales, DecimalSeparator, ::testing::ValuesIn(separatorRows), testing::RowName());

} // namespace
} // namespace vibrona
