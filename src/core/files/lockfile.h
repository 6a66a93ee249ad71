// SPDX-License-Identifier: MIT
#pragma once
// A lock file that says "a running copy owns this": held locked (flock) for
// as long as its owner runs. The system drops the lock when the owner ends
// in any way, so whoever takes it over knows the owner is gone, whatever the
// file holds and however long ago it was written.

#include "core/files/handle.h"

#include <QString>

namespace core::files {

class LockFile
{
public:
    LockFile() = default;
    LockFile(LockFile &&) = default;
    LockFile &operator=(LockFile &&) = default;
    ~LockFile() = default; // closing drops the lock; the file stays

    // A new lock file at `path`, already locked when it comes into place, so
    // a copy tidying away lock files that guard nothing never takes it in
    // between. Not held (with `error`) when it cannot be made.
    static LockFile createHeld(const QString &path, QString *error);
    // The lock file at `path`, held when its owner is gone and it is still
    // the file at that path (a copy that finished before us removed it, and
    // a lock on a removed file guards nothing).
    static LockFile takeOver(const QString &path);
    // The lock at a fixed `path` that only one running copy may hold: held
    // unless another copy holds it. What the file says, or that a copy long
    // gone left it, or that a link to nothing stands there, never keeps the
    // lock from whoever comes next. Not held, with `problem`, when a folder,
    // FIFO or device stands there or no lock file can be made; not held and
    // no problem when another copy has it.
    static LockFile claim(const QString &path, QString *problem);

    // The lock file at `path`, made when it is missing, once no one else
    // holds it; not held when that takes longer than `maxWaitMs` or the file
    // cannot be made.
    static LockFile wait(const QString &path, int maxWaitMs);

    bool held() const { return file_.isOpen(); }
    const QString &path() const { return path_; }
    // Lets go of the lock; with `alsoTheFile`, removes the file first, while
    // the lock still keeps everyone else off it.
    void release(bool alsoTheFile);

private:
    QString path_;
    Handle file_;
};

} // namespace core::files
