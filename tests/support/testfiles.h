// SPDX-License-Identifier: MIT
#pragma once
// A file's bytes, read or written whole, for tests of the logs and journal.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

// What the file holds; a marker no log holds when it cannot be read.
inline QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
