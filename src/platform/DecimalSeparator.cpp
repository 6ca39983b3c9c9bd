// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DecimalSeparator.h"

#include <QLocale>

namespace vibrona {

char32_t decimalSeparatorOf(const QString &separator)
{
    const QList<uint> codePoints = separator.toUcs4();
    return codePoints.isEmpty() ? U'.' : char32_t(codePoints.front());
}

char32_t userDecimalSeparator()
{
    return decimalSeparatorOf(QLocale::system().decimalPoint());
}

} // namespace vibrona
