// SPDX-License-Identifier: MIT
#pragma once
// A program's window icon from the PNG copies built into it.

#include <QIcon>
#include <QString>

#include <initializer_list>

namespace forms {

// `pattern` holds %1 for the size, e.g. ":/tocka/tocka-%1.png". Read as PNG
// and nothing else: left to make sure of the format itself, Qt loads every
// image plugin there is to ask each whether it can read the file, and they
// then stay loaded as long as the program runs.
QIcon programIcon(const QString &pattern, std::initializer_list<int> sizes);

} // namespace forms
