// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// GoogleTest prints Qt's values readably instead of as bytes.

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>

#include <ostream>

inline void PrintTo(const QRect &r, std::ostream *out)
{
    *out << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}

inline void PrintTo(const QSize &s, std::ostream *out)
{
    *out << s.width() << " x " << s.height();
}

inline void PrintTo(const QString &s, std::ostream *out)
{
    *out << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QColor &c, std::ostream *out)
{
    *out << c.name().toStdString();
}
