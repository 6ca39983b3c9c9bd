// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <concepts>
#include <ostream>
#include <string>

// Rows of data-driven tests derive from NamedRow: the row's name becomes the
// test's name, and GoogleTest prints the name instead of the row's bytes.

namespace vibrona::testing {

struct NamedRow {
    const char *name;
};

template <std::derived_from<NamedRow> Row>
void PrintTo(const Row &row, std::ostream *out)
{
    *out << row.name;
}

struct RowName {
    template <typename Info>
    std::string operator()(const Info &info) const
    {
        return info.param.name;
    }
};

} // namespace vibrona::testing
