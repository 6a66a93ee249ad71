// SPDX-License-Identifier: MIT
#include "core/files/lockfile.h"

#include "core/files/safefile.h"

#include <cerrno>
#include <chrono>
#include <thread>

namespace core::files {

LockFile LockFile::createHeld(const QString &path, QString *error)
{
    const QString fresh = path + QLatin1String(".new");
    int e = 0;
    Handle file = openLockFile(fresh, &e);
    if (file.isOpen() && file.tryLock(&e) && renameFile(fresh, path, &e)) {
        LockFile lock;
        lock.path_ = path;
        lock.file_ = std::move(file);
        return lock;
    }
    if (file.isOpen())
        removeFile(fresh);
    if (error)
        *error = QStringLiteral("cannot lock %1: %2").arg(path, errorText(e));
    return {};
}

LockFile LockFile::takeOver(const QString &path)
{
    Handle file = openLockFile(path);
    if (!file.isOpen() || !file.tryLock() || !file.isAt(path))
        return {}; // its owner runs, or another copy is taking it over
    LockFile lock;
    lock.path_ = path;
    lock.file_ = std::move(file);
    return lock;
}

LockFile LockFile::claim(const QString &path, QString *problem)
{
    const auto fail = [&](const QString &why) {
        if (problem)
            *problem = why;
        return LockFile();
    };
    // A few rounds, for a link removed or a file replaced between two steps.
    for (int round = 0; round < 5; ++round) {
        if (isSymbolicLink(path)) {
            // Nothing of ours is ever a link: whatever it points to (most
            // often nothing), the lock is made anew in its place.
            removeFile(path);
        } else if (const std::optional<QString> kind = otherThanAFile(path)) {
            return fail(QStringLiteral("%1 is %2, not a lock file, and must be removed").arg(path, *kind));
        }
        int e = 0;
        Handle file = openLockFile(path, &e);
        if (!file.isOpen()) {
            if (isSymbolicLink(path))
                continue;
            return fail(QStringLiteral("cannot create %1: %2").arg(path, errorText(e)));
        }
        if (!file.tryLock(&e)) {
            if (e == EWOULDBLOCK || e == EAGAIN)
                return {}; // another copy runs
            return fail(QStringLiteral("cannot lock %1: %2").arg(path, errorText(e)));
        }
        if (!file.isAt(path))
            continue;
        // For people: which process holds it.
        const QByteArray owner = QByteArray::number(processId()) + '\n';
        file.truncate(0);
        file.writeAllAt(owner.constData(), owner.size(), 0);
        LockFile lock;
        lock.path_ = path;
        lock.file_ = std::move(file);
        return lock;
    }
    return fail(QStringLiteral("%1 keeps changing").arg(path));
}

LockFile LockFile::wait(const QString &path, int maxWaitMs)
{
    Handle file = openLockFile(path);
    if (!file.isOpen())
        return {};
    constexpr int kStepMs = 10;
    for (int waited = 0; !file.tryLock(); waited += kStepMs) {
        if (waited >= maxWaitMs)
            return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(kStepMs));
    }
    LockFile lock;
    lock.path_ = path;
    lock.file_ = std::move(file);
    return lock;
}

void LockFile::release(bool alsoTheFile)
{
    if (!file_.isOpen())
        return;
    if (alsoTheFile)
        removeFile(path_);
    file_.close();
}

} // namespace core::files
