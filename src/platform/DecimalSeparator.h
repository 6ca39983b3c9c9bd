// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vibrona {

// The first character of a locale's decimal separator, "." where it has none.
char32_t decimalSeparatorOf(const QString &separator);

// The user's decimal separator, from the system locale as Qt knows it at
// this moment, so a locale change the application is told of is picked up
// at the next reading.
char32_t userDecimalSeparator();

} // namespace vibrona
