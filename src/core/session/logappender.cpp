// SPDX-License-Identifier: MIT
#include "core/session/logappender.h"

#include "core/files/safefile.h"

#include <QDir>

namespace core::session {

namespace {

QString failure(const char *verb, const QString &path, int error)
{
    return QStringLiteral("cannot %1 %2: %3")
        .arg(QLatin1String(verb), QDir::toNativeSeparators(path), files::errorText(error));
}

} // namespace

LogAppend::~LogAppend()
{
    close();
}

void LogAppend::close()
{
    file_.close(); // lets go of the lock too
}

bool LogAppend::open(const QString &path, QString *error)
{
    close();
    path_ = path;
    file_ = files::openForAppend(path, &readable_, error);
    if (!file_.isOpen())
        return false;
    // Another copy of the program appending to the same log at the same
    // moment would move the offset noted for the record.
    file_.lock();
    int e = 0;
    size_ = file_.size(&e);
    if (size_ < 0) {
        if (error)
            *error = failure("write", path, e);
        close();
        return false;
    }
    leadFromLastByte();
    return true;
}

// A log that does not end with a line end (cut short, or edited by hand)
// gets one before the next record, so that record starts on a line of its own.
void LogAppend::leadFromLastByte()
{
    lead_.clear();
    if (readable_ && size_ > 0) {
        char last = '\n';
        if (file_.readAt(&last, 1, size_ - 1) == 1 && last != '\n')
            lead_ = "\r\n";
    }
}

LogAppend::Found LogAppend::find(qint64 at, const QByteArray &bytes) const
{
    if (at < 0 || at > size_)
        return Found::Absent; // the log was cut shorter since: not there
    if (at == size_)
        return Found::Absent;
    if (!readable_) // a log we may write but not read: its size must tell
        return size_ >= at + bytes.size() ? Found::All : Found::TornTail;
    QByteArray there(static_cast<qsizetype>(std::min<qint64>(bytes.size(), size_ - at)), '\0');
    if (file_.readFullyAt(there.data(), there.size(), at) != there.size())
        return Found::Unknown;
    if (!bytes.startsWith(there))
        return Found::Absent;
    return there.size() == bytes.size() ? Found::All : Found::TornTail;
}

bool LogAppend::cutBack(qint64 at, QString *error)
{
    int e = 0;
    if (!file_.truncate(at, &e)) {
        if (error)
            *error = failure("repair", path_, e);
        return false;
    }
    size_ = at;
    leadFromLastByte();
    return true;
}

bool LogAppend::write(const QByteArray &record, QString *error, const std::function<void()> &midway)
{
    const QByteArray bytes = lead_ + record;
    int e = 0;
    bool ok = true;
    if (midway) {
        const qsizetype half = bytes.size() / 2;
        ok = file_.writeAll(bytes.constData(), half, &e);
        if (ok)
            midway();
        ok = ok && file_.writeAll(bytes.constData() + half, bytes.size() - half, &e);
    } else {
        ok = file_.writeAll(bytes.constData(), bytes.size(), &e);
    }
    ok = ok && file_.syncData(&e);
    if (!ok) {
        // Take back whatever part of the record reached the file.
        file_.truncate(size_);
        if (error)
            *error = failure("write", path_, e);
        close();
        return false;
    }
    size_ += bytes.size();
    lead_.clear();
    return true;
}

AppendResult appendRecord(const QString &path, const QByteArray &record)
{
    LogAppend append;
    QString error;
    if (!append.open(path, &error) || !append.write(record, &error))
        return {false, error};
    append.close();
    return {true, {}};
}

} // namespace core::session
