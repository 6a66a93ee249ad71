// SPDX-License-Identifier: MIT
#include "core/files/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace core::files {

namespace {

QString failure(const char *verb, const QString &path, const QString &why)
{
    return QStringLiteral("cannot %1 %2: %3").arg(QLatin1String(verb), QDir::toNativeSeparators(path), why);
}

// After an open failed: when something that is not a regular file stands at
// the path, its kind says more than the errno of the refused open (a FIFO
// opened for writing with nobody reading gives "No such device or address").
QString reasonAfterFailedOpen(const QByteArray &native, int error)
{
    struct stat info = {};
    if (error != ENOENT && ::stat(native.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return QStringLiteral("it is %1").arg(kindName(info.st_mode));
    return errorText(error);
}

int openLog(const QByteArray &native, int flags, bool *readable)
{
    int fd = ::open(native.constData(), O_RDWR | flags, 0644);
    *readable = true;
    if (fd < 0 && errno == EACCES) {
        fd = ::open(native.constData(), O_WRONLY | flags, 0644);
        *readable = false;
    }
    return fd;
}

unsigned lstatMode(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
}

} // namespace

QString kindName(unsigned mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO (named pipe)");
    if (S_ISCHR(mode))
        return QStringLiteral("a character device");
    if (S_ISBLK(mode))
        return QStringLiteral("a block device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISLNK(mode))
        return QStringLiteral("a link");
    if (S_ISREG(mode))
        return QStringLiteral("a file");
    return QStringLiteral("not a regular file");
}

std::optional<QString> otherThanAFile(const QString &path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return std::nullopt;
    return kindName(info.st_mode);
}

bool isSymbolicLink(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

QString errorText(int error)
{
    QString text = QString::fromLocal8Bit(std::strerror(error));
    if (error == ENOSPC || error == EDQUOT)
        text += QStringLiteral(" (the disk is full)");
    return text;
}

ReadResult openRegular(const QString &path, Handle *file, QString *why)
{
    const QByteArray native = QFile::encodeName(path);
    Handle opened(::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!opened.isOpen()) {
        if (errno == ENOENT)
            return ReadResult::Missing;
        if (why)
            *why = reasonAfterFailedOpen(native, errno);
        return ReadResult::Failed;
    }
    struct stat info = {};
    if (::fstat(opened.descriptor(), &info) != 0) {
        if (why)
            *why = errorText(errno);
        return ReadResult::Failed;
    }
    if (!S_ISREG(info.st_mode)) {
        if (why)
            *why = QStringLiteral("it is %1").arg(kindName(info.st_mode));
        return ReadResult::Failed;
    }
    *file = std::move(opened);
    return ReadResult::Ok;
}

ReadResult readRegular(const QString &path, qint64 maxBytes, QByteArray *bytes, QString *error)
{
    bytes->clear();
    auto fail = [&](const QString &why) {
        if (error)
            *error = failure("read", path, why);
        return ReadResult::Failed;
    };
    Handle file;
    QString why;
    const ReadResult opened = openRegular(path, &file, &why);
    if (opened == ReadResult::Failed)
        return fail(why);
    if (opened == ReadResult::Missing)
        return opened;
    int e = 0;
    const qint64 size = file.size(&e);
    if (size < 0)
        return fail(errorText(e));
    const auto tooLarge = [&] { return fail(QStringLiteral("it is larger than %1 bytes").arg(maxBytes)); };
    if (size > maxBytes)
        return tooLarge();
    // The size is only a hint: the file may grow while it is read.
    QByteArray out;
    out.resize(static_cast<qsizetype>(size) + 1);
    qsizetype have = 0;
    for (;;) {
        if (have == out.size()) {
            if (have > maxBytes)
                break;
            out.resize(std::min<qint64>(maxBytes + 1, have * 2 + 4096));
        }
        const qint64 n = file.readAt(out.data() + have, out.size() - have, have, &e);
        if (n < 0)
            return fail(errorText(e));
        if (n == 0)
            break;
        have += n;
    }
    if (have > maxBytes)
        return tooLarge();
    out.truncate(have);
    *bytes = std::move(out);
    return ReadResult::Ok;
}

Handle openForAppend(const QString &path, bool *readable, QString *error)
{
    const QByteArray native = QFile::encodeName(path);
    const int common = O_APPEND | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    bool canRead = true;
    int fd = openLog(native, common | O_CREAT | O_NOFOLLOW, &canRead);
    bool link = false;
    if (fd < 0 && errno == ELOOP) {
        // A link: followed only to a file that is there (never to create one
        // wherever it points) and that is the user's own.
        link = true;
        fd = openLog(native, common, &canRead);
        if (fd < 0) {
            const int e = errno;
            if (error) {
                *error = failure("open", path,
                                 e == ENOENT ? QStringLiteral("it is a link to a file that does not exist")
                                             : QStringLiteral("it is a link, and %1").arg(reasonAfterFailedOpen(native, e)));
            }
            return {};
        }
    }
    if (fd < 0) {
        const int e = errno;
        if (error)
            *error = failure("open", path, reasonAfterFailedOpen(native, e));
        return {};
    }
    struct stat info = {};
    QString why;
    if (::fstat(fd, &info) != 0)
        why = errorText(errno);
    else if (!S_ISREG(info.st_mode))
        why = link ? QStringLiteral("it is a link to %1").arg(kindName(info.st_mode))
                   : QStringLiteral("it is %1").arg(kindName(info.st_mode));
    else if (link && info.st_uid != ::geteuid())
        why = QStringLiteral("it is a link to a file of another user");
    else if (info.st_nlink > 1 && info.st_uid != ::geteuid())
        why = QStringLiteral("it is a hard link to a file of another user");
    if (!why.isEmpty()) {
        ::close(fd);
        if (error)
            *error = failure("write", path, why);
        return {};
    }
    // Appends must wait for a full pipe or a slow disk like any write.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (readable)
        *readable = canRead;
    return Handle(fd);
}

bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    const QString temporary = path + QStringLiteral(".new-%1-%2")
                                         .arg(::getpid())
                                         .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QByteArray native = QFile::encodeName(temporary);
    auto fail = [&](int e) {
        ::unlink(native.constData());
        if (error)
            *error = failure("write", path, errorText(e));
        return false;
    };
    Handle file(::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!file.isOpen()) {
        const int e = errno;
        if (error)
            *error = failure("write", path, errorText(e));
        return false;
    }
    int e = 0;
    if (!file.writeAll(bytes.constData(), bytes.size(), &e) || ::fdatasync(file.descriptor()) != 0) {
        if (e == 0)
            e = errno;
        return fail(e);
    }
    if (::close(file.release()) != 0 && errno != EINTR)
        return fail(errno);
    if (::rename(native.constData(), QFile::encodeName(path).constData()) != 0)
        return fail(errno);
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

bool overwriteInPlace(const QString &path, const QByteArray &bytes, QString *error)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = failure("write", path, why);
        return false;
    };
    Handle file(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (!file.isOpen())
        return fail(errorText(errno));
    struct stat info = {};
    if (::fstat(file.descriptor(), &info) != 0)
        return fail(errorText(errno));
    if (!S_ISREG(info.st_mode))
        return fail(QStringLiteral("it is %1").arg(kindName(info.st_mode)));
    if (info.st_size < bytes.size())
        return fail(errorText(ENOSPC));
    int e = 0;
    if (!file.writeAllAt(bytes.constData(), bytes.size(), 0, &e) || !file.truncate(bytes.size(), &e)
        || !file.syncData(&e))
        return fail(errorText(e));
    return true;
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool makePrivateFolder(const QString &path, QString *error)
{
    const QByteArray native = QFile::encodeName(path);
    auto fail = [&](const QString &why) {
        if (error)
            *error = failure("create", path, why);
        return false;
    };
    struct stat info = {};
    if (::lstat(native.constData(), &info) != 0) {
        if (errno != ENOENT)
            return fail(errorText(errno));
        if (!QDir().mkpath(path)) {
            // Whatever is in the way further up says why.
            QString up = QFileInfo(path).absolutePath();
            while (!up.isEmpty() && !QFileInfo::exists(up) && up != QLatin1String("/"))
                up = QFileInfo(up).absolutePath();
            const QFileInfo blocker(up);
            if (blocker.exists() && !blocker.isDir())
                return fail(QStringLiteral("%1 is %2").arg(QDir::toNativeSeparators(up), kindName(lstatMode(up))));
            return fail(QStringLiteral("%1 cannot be written").arg(QDir::toNativeSeparators(up)));
        }
        if (::lstat(native.constData(), &info) != 0)
            return fail(errorText(errno));
    }
    if (S_ISLNK(info.st_mode)) {
        struct stat target = {};
        if (::stat(native.constData(), &target) != 0)
            return fail(QStringLiteral("it is a link to nothing"));
        if (!S_ISDIR(target.st_mode))
            return fail(QStringLiteral("it is a link to %1").arg(kindName(target.st_mode)));
        info = target;
    } else if (!S_ISDIR(info.st_mode)) {
        return fail(QStringLiteral("it is %1").arg(kindName(info.st_mode)));
    }
    if (info.st_uid != ::geteuid())
        return fail(QStringLiteral("it is a folder of another user"));
    if ((info.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0)
        return fail(errorText(errno));
    return true;
}

} // namespace core::files
