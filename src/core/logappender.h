#pragma once
// Appends a whole record to a log in one write and makes it durable. A record
// is either all there or not there at all: a short write (a full disk) is cut
// back off, and a file left without a final line end (an earlier crash) gets
// one first, so no record ever runs into another.

#include <QByteArray>
#include <QString>

namespace sessionlog {

struct AppendResult
{
    bool ok = false;
    QString error; // what went wrong, for the user; empty when ok
};

AppendResult appendRecord(const QString &path, const QByteArray &record);

} // namespace sessionlog
