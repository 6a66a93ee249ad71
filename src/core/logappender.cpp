#include "logappender.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sessionlog {
namespace {

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool writeAll(int fd, const char *data, qsizetype size, int &error)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        if (n == 0) {
            error = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

AppendResult appendRecord(const QString &path, const QByteArray &record)
{
    const QByteArray native = QFile::encodeName(path);
    bool canRead = true;
    int fd = ::open(native.constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EACCES) {
        // A log we may write but not read still takes the record.
        canRead = false;
        fd = ::open(native.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    }
    if (fd < 0)
        return {false, QStringLiteral("cannot open %1: %2").arg(path, errnoText(errno))};

    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISREG(info.st_mode) ? errno : EISDIR;
        ::close(fd);
        return {false, QStringLiteral("cannot write %1: %2").arg(path, errnoText(error))};
    }
    const off_t sizeBefore = info.st_size;

    QByteArray bytes;
    if (canRead && sizeBefore > 0) {
        char last = '\n';
        if (::pread(fd, &last, 1, sizeBefore - 1) == 1 && last != '\n')
            bytes = "\r\n";
    }
    bytes += record;

    int error = 0;
    if (!writeAll(fd, bytes.constData(), bytes.size(), error)) {
        // Take back whatever part of the record reached the file.
        [[maybe_unused]] const int cut = ::ftruncate(fd, sizeBefore);
        ::close(fd);
        return {false, QStringLiteral("cannot write %1: %2").arg(path, errnoText(error))};
    }
    if (::fdatasync(fd) != 0 && errno != EINVAL && errno != EROFS) {
        error = errno;
        [[maybe_unused]] const int cut = ::ftruncate(fd, sizeBefore);
        ::close(fd);
        return {false, QStringLiteral("cannot save %1 to disk: %2").arg(path, errnoText(error))};
    }
    if (::close(fd) != 0 && errno != EINTR)
        return {false, QStringLiteral("cannot close %1: %2").arg(path, errnoText(errno))};
    return {true, {}};
}

} // namespace sessionlog
