// SPDX-License-Identifier: MIT
#pragma once
// Sessions owed to the logs, kept on disk until every log has them.
//
// One file per session in the journal folder: a session's entry is created
// when it starts, rewritten atomically as it runs (so a power cut or kill -9
// loses at most the last minute of it), and removed once every log holds its
// record. One file per session rather than one shared journal file, because
// then a session's entry is only ever written by the one copy that owns it,
// an old session still owed can never be overwritten by a new one, and a
// damaged entry spoils nothing but itself.
//
// Ownership: beside each entry is its lock file (lockfile.h), held by the
// copy that owns the entry for as long as that copy runs. An entry is taken
// over only when the copy that wrote it is gone, which is the same test the
// single-copy lock makes, and holds even for two copies that share a home
// but not a runtime folder.

#include "core/session/entryformat.h"
#include "core/files/lockfile.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace core::session {

// Asked before every save of an entry: false makes the save fail as if the
// disk refused both ways of writing it. Tests use it to fail saves at each
// step of a delivery; nothing else does.
using SaveHook = std::function<bool()>;

// One session's entry, held by this copy for as long as the object lives.
class JournalEntry
{
public:
    JournalEntry(QString path, files::LockFile lock, EntryData data, SaveHook saveHook = {});
    JournalEntry(const JournalEntry &) = delete;
    JournalEntry &operator=(const JournalEntry &) = delete;

    const QString &path() const { return path_; }
    const EntryData &data() const { return data_; }
    EntryData &data() { return data_; }

    // Writes the data to disk: atomically, or, when that is refused (a full
    // disk), over the old entry in place. False with `error` when neither
    // can be done.
    bool save(QString *error = nullptr);
    // An entry that cannot be saved must not stay on disk saying less than
    // what happened: a later start would write the session again. Takes it
    // off the disk; true when it is gone. From then on the session is in no
    // journal, and whatever a log refuses now is lost.
    bool forget();
    bool onDisk() const { return onDisk_; }
    // Lets go of the entry (it stays for whoever comes next); with
    // `removeLock`, its lock file goes too.
    void release(bool removeLock);

private:
    QString path_;
    files::LockFile lock_;
    EntryData data_;
    SaveHook saveHook_;
    bool onDisk_ = true;
};

class Journal
{
public:
    explicit Journal(QString folder);

    const QString &folder() const { return folder_; }
    void setSaveHook(SaveHook hook) { saveHook_ = std::move(hook); }

    // Opens the entry of a session that starts now, for the logs of
    // `data.folder`; its start (`data.startedUtcMs`) orders it among the
    // others. nullptr with `error` when the journal cannot be written.
    std::unique_ptr<JournalEntry> begin(EntryData data, QString *error);

    // The ids of the entries on disk, oldest first.
    QStringList entryIds() const;

    struct Taken
    {
        std::unique_ptr<JournalEntry> entry; // held by us now
        QString unreadable;                  // why an entry whose owner is gone cannot be read
        QString waits;                       // why an entry cannot be taken over now
    };
    // The entry `id` when its owner is gone: held by this copy from now on,
    // or why it cannot be read (it is then left in place for the user to
    // look at), or why it must wait (its lock file is not one). None of
    // these when its owner runs, another copy is delivering it, or it is gone.
    Taken take(const QString &id);

    // One delivery at a time across the copies that share this journal, so
    // owed sessions reach each log in the order they started. Held while the
    // lock file lives; waits at most `maxWaitMs` for another copy to finish
    // (a copy stopped in the middle of a delivery must not hold every other
    // one back for ever), then goes on without it.
    files::LockFile holdDeliveries(int maxWaitMs) const;

    // Lock files left without their entry by a copy killed between removing
    // the one and the other.
    void removeStrayLocks() const;

    QString entryPath(const QString &id) const;
    QString lockPath(const QString &id) const;

private:
    QString folder_;
    SaveHook saveHook_;
};

} // namespace core::session
