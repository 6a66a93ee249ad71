// SPDX-License-Identifier: MIT
#include "core/session/lockfile.h"

#include "core/files/safefile.h"

namespace core::session {

LockFile LockFile::createHeld(const QString &path, QString *error)
{
    const QString fresh = path + QLatin1String(".new");
    int e = 0;
    files::Handle file = files::openLockFile(fresh, &e);
    if (file.isOpen() && file.tryLock(&e) && files::renameFile(fresh, path, &e)) {
        LockFile lock;
        lock.path_ = path;
        lock.file_ = std::move(file);
        return lock;
    }
    if (file.isOpen())
        files::removeFile(fresh);
    if (error)
        *error = QStringLiteral("cannot lock %1: %2").arg(path, files::errorText(e));
    return {};
}

LockFile LockFile::takeOver(const QString &path)
{
    files::Handle file = files::openLockFile(path);
    if (!file.isOpen() || !file.tryLock() || !file.isAt(path))
        return {}; // its owner runs, or another copy is taking it over
    LockFile lock;
    lock.path_ = path;
    lock.file_ = std::move(file);
    return lock;
}

void LockFile::release(bool removeFile)
{
    if (!file_.isOpen())
        return;
    if (removeFile)
        files::removeFile(path_);
    file_.close();
}

} // namespace core::session
