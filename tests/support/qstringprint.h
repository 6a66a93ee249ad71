// SPDX-License-Identifier: MIT
#pragma once
// Lets GoogleTest show a QString as its text when a comparison fails.

#include <QString>

#include <optional>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const std::optional<QString> &s, std::ostream *os)
{
    if (s)
        PrintTo(*s, os);
    else
        *os << "(missing)";
}
