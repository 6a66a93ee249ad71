// SPDX-License-Identifier: MIT
#pragma once
// Appends a whole record to a log in one write and makes it durable. A record
// is either all there or not there at all: a short write (a full disk) is cut
// back off, and a file left without a final line end (an earlier crash) gets
// one first, so no record ever runs into another.

#include "core/files/handle.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace core::session {

struct AppendResult
{
    bool ok = false;
    QString error; // what went wrong, for the user; empty when ok
};

AppendResult appendRecord(const QString &path, const QByteArray &record);

// One append in two steps, for a caller that notes where the record goes
// before it writes it: `open` takes the log's lock (other copies of the
// program wait for it) and learns its size; `write` puts the line end the
// file lacks, if any, and the record at that offset.
class LogAppend
{
public:
    LogAppend() = default;
    LogAppend(const LogAppend &) = delete;
    LogAppend &operator=(const LogAppend &) = delete;
    ~LogAppend();

    bool open(const QString &path, QString *error);
    // Where the record will start, line end included.
    qint64 offset() const { return size_; }
    // "\r\n" when the log ends in a line cut short, else empty.
    const QByteArray &lead() const { return lead_; }
    bool readable() const { return readable_; }

    // What the log holds at `at` compared with `bytes`: all of it, a part of
    // it that ends the file (a write cut off), or something else.
    enum class Found { All, TornTail, Absent, Unknown };
    Found find(qint64 at, const QByteArray &bytes) const;
    // Cuts a torn tail off, back to `at`.
    bool cutBack(qint64 at, QString *error);

    // Writes lead() + `record`, flushes it to disk. `midway`, when set, runs
    // after the first half is written (tests stop there to leave a torn record).
    bool write(const QByteArray &record, QString *error, const std::function<void()> &midway = {});
    void close();

private:
    void leadFromLastByte();
    QString path_;
    files::Handle file_;
    qint64 size_ = 0;
    QByteArray lead_;
    bool readable_ = true;
};

} // namespace core::session
