// SPDX-License-Identifier: MIT
#include "core/files/handle.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace core::files {

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

bool failed(int *error)
{
    if (error)
        *error = errno;
    return false;
}

} // namespace

Handle &Handle::operator=(Handle &&other) noexcept
{
    if (this != &other) {
        close();
        fd_ = other.release();
    }
    return *this;
}

int Handle::release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void Handle::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool Handle::lock(int *error)
{
    int r;
    while ((r = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
    }
    return r == 0 || failed(error);
}

bool Handle::tryLock(int *error)
{
    int r;
    while ((r = ::flock(fd_, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    return r == 0 || failed(error);
}

qint64 Handle::size(int *error) const
{
    struct stat info = {};
    if (::fstat(fd_, &info) != 0) {
        failed(error);
        return -1;
    }
    return info.st_size;
}

qint64 Handle::readAt(char *data, qint64 max, qint64 at, int *error) const
{
    for (;;) {
        const ssize_t got = ::pread(fd_, data, static_cast<size_t>(max), static_cast<off_t>(at));
        if (got >= 0)
            return got;
        if (errno != EINTR) {
            failed(error);
            return -1;
        }
    }
}

qint64 Handle::readFullyAt(char *data, qint64 size, qint64 at, int *error) const
{
    qint64 have = 0;
    while (have < size) {
        const qint64 n = readAt(data + have, size - have, at + have, error);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        have += n;
    }
    return have;
}

bool Handle::writeAll(const char *data, qint64 size, int *error)
{
    return writeAllAt(data, size, -1, error);
}

bool Handle::writeAllAt(const char *data, qint64 size, qint64 at, int *error)
{
    while (size > 0) {
        const ssize_t n = at < 0 ? ::write(fd_, data, static_cast<size_t>(size))
                                 : ::pwrite(fd_, data, static_cast<size_t>(size), static_cast<off_t>(at));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failed(error);
        }
        if (n == 0) {
            if (error)
                *error = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
        if (at >= 0)
            at += n;
    }
    return true;
}

bool Handle::truncate(qint64 size, int *error)
{
    return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 || failed(error);
}

bool Handle::syncData(int *error)
{
    if (::fdatasync(fd_) == 0 || errno == EINVAL || errno == EROFS)
        return true;
    return failed(error);
}

bool Handle::isAt(const QString &path) const
{
    struct stat held = {}, there = {};
    return ::fstat(fd_, &held) == 0 && ::lstat(native(path).constData(), &there) == 0 && held.st_dev == there.st_dev
        && held.st_ino == there.st_ino;
}

Handle openLockFile(const QString &path, int *error)
{
    const int fd = ::open(native(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0)
        failed(error);
    return Handle(fd);
}

bool removeFile(const QString &path)
{
    // ENOTDIR: a file stands where a folder on the way was, so nothing can
    // be at the path.
    return ::unlink(native(path).constData()) == 0 || errno == ENOENT || errno == ENOTDIR;
}

bool renameFile(const QString &from, const QString &to, int *error)
{
    return ::rename(native(from).constData(), native(to).constData()) == 0 || failed(error);
}

qint64 processId()
{
    return ::getpid();
}

} // namespace core::files
