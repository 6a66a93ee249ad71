// SPDX-License-Identifier: MIT
#include "core/session/logappender.h"

#include "core/files/safefile.h"

#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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
    if (fd_ >= 0)
        ::close(fd_); // lets go of the lock too
    fd_ = -1;
}

bool LogAppend::open(const QString &path, QString *error)
{
    close();
    path_ = path;
    fd_ = files::openForAppend(path, &readable_, error);
    if (fd_ < 0)
        return false;
    // Another copy of the program appending to the same log at the same
    // moment would move the offset noted for the record.
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat info = {};
    if (::fstat(fd_, &info) != 0) {
        if (error)
            *error = failure("write", path, errno);
        close();
        return false;
    }
    size_ = info.st_size;
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
        if (::pread(fd_, &last, 1, size_ - 1) == 1 && last != '\n')
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
    qsizetype have = 0;
    while (have < there.size()) {
        const ssize_t n = ::pread(fd_, there.data() + have, static_cast<size_t>(there.size() - have), at + have);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Found::Unknown;
        have += n;
    }
    if (!bytes.startsWith(there))
        return Found::Absent;
    return there.size() == bytes.size() ? Found::All : Found::TornTail;
}

bool LogAppend::cutBack(qint64 at, QString *error)
{
    if (::ftruncate(fd_, at) != 0) {
        if (error)
            *error = failure("repair", path_, errno);
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
        ok = files::writeAll(fd_, bytes.constData(), half, e);
        if (ok)
            midway();
        ok = ok && files::writeAll(fd_, bytes.constData() + half, bytes.size() - half, e);
    } else {
        ok = files::writeAll(fd_, bytes.constData(), bytes.size(), e);
    }
    if (ok && ::fdatasync(fd_) != 0 && errno != EINVAL && errno != EROFS) {
        e = errno;
        ok = false;
    }
    if (!ok) {
        // Take back whatever part of the record reached the file.
        [[maybe_unused]] const int cut = ::ftruncate(fd_, size_);
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
