// SPDX-License-Identifier: MIT
#pragma once
// Sessions owed to the logs, kept on disk until both logs have them.
//
// One file per session in the journal folder: a session's entry is created
// when it starts, rewritten atomically as it runs (so a power cut or kill -9
// loses at most the last minute of it), and removed once both logs hold its
// record. One file per session rather than one shared journal file, because
// then a session's entry is only ever written by the one copy that owns it,
// an old session still owed can never be overwritten by a new one, and a
// damaged entry spoils nothing but itself.
//
// Exactly once: before a record is appended to a log, the entry notes the
// log's size and the bytes about to go there. Whatever stops the program
// (before, during or after an append, before the entry is updated), the next
// start finds either those bytes at that offset (the log has it: done), a
// part of them ending the log (a write cut off: cut back and write again),
// or not them (append).
//
// Ownership: beside each entry is a lock file that its owner holds locked
// (flock) for as long as it runs. The system drops the lock when the owner
// ends in any way, so an entry is taken over only when the copy that wrote it
// is gone, which is the same test the single-copy lock makes, and holds even
// for two copies that share a home but not a runtime folder.

#include "core/session/record.h"

#include <QList>
#include <QLocale>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace core::session {

// The points at which delivering a record can be cut off; tests stop the
// work at each through Journal::setFaultHook, as a kill or a power cut would.
enum class Step {
    EntrySaved,   // the entry notes the log's size and the bytes; nothing appended yet
    HalfAppended, // half of the bytes are in the log
    Appended,     // the log has the record; the entry does not know yet
    EntryRemoved, // every log has it; the entry is gone, its lock file not yet
};
using FaultHook = std::function<void(Step step, const QString &logName)>;

struct OwedLog
{
    enum class State { Pending, Noted, Done };
    QString name;          // kLogFileName or kDataLogFileName
    State state = State::Pending;
    QByteArray record;     // the bytes fixed for this log; empty until first rendered
    qint64 at = -1;        // Noted: the log's size before the append
    QByteArray lead;       // Noted: a line end written before the record
    QString error;         // why the last try failed
};

struct EntryData
{
    QString folder;        // the folder whose logs the session belongs in
    SessionRecord record;  // as last saved; rendered for a log that has no bytes yet
    qint64 owner = 0;      // the pid that started it, for people reading the folder
    QList<OwedLog> logs;   // both logs, in writing order
};

class Journal;

// One session's entry, held (locked) by this copy for as long as it lives.
class JournalEntry
{
public:
    ~JournalEntry();
    JournalEntry(const JournalEntry &) = delete;
    JournalEntry &operator=(const JournalEntry &) = delete;

    const QString &path() const { return path_; }
    const EntryData &data() const { return data_; }

    // The running session's latest values.
    bool update(const SessionRecord &record, QString *error);

    // Writes the record into each log that lacks it, in order. `render` gives
    // the bytes for a log at the moment that log is written (each log reads
    // the clock afresh). Logs named in `blocked` (folder/name) wait for an
    // older session that could not reach them; a log that fails is added to
    // it. True when both logs have the record and the entry is gone.
    bool deliver(const std::function<QByteArray(const QString &logName)> &render, QSet<QString> *blocked = nullptr);

    // What went wrong in the last delivery, one text per log.
    QStringList errors() const;

private:
    friend class Journal;
    JournalEntry(Journal &journal, QString id, int lockFd);
    bool save(QString *error);
    bool deliverOne(OwedLog &log, const std::function<QByteArray(const QString &)> &render);
    void release(bool removeLock);

    Journal &journal_;
    QString id_;
    QString path_;
    int lockFd_ = -1;
    EntryData data_;
    QString saveError_;
};

class Journal
{
public:
    explicit Journal(QString folder);

    const QString &folder() const { return folder_; }

    void setFaultHook(FaultHook hook) { hook_ = std::move(hook); }

    // Opens the entry of a session that starts now; its start (date and time
    // of `record`, which it gets from the clock seam) orders it among the
    // others. nullptr with `error` when the journal cannot be written.
    std::unique_ptr<JournalEntry> begin(const SessionRecord &record, const QString &logFolder, QString *error);

    struct Delivery
    {
        int delivered = 0;     // sessions now in both logs
        int kept = 0;          // sessions still owed (a log refused, a folder is gone)
        int unreadable = 0;    // entries that could not be read (left in place)
        QStringList messages;  // for the user, one per session
    };
    // Delivers every entry whose owner is gone, oldest first. Entries whose
    // owner still runs are left alone.
    Delivery deliverOwed(const QLocale &locale = QLocale(), QSet<QString> *blocked = nullptr);

    // The ids of the entries on disk, oldest first (for tests and tools).
    QStringList entryIds() const;

    static std::optional<EntryData> parse(const QByteArray &bytes);
    static QByteArray serialize(const EntryData &data);

private:
    friend class JournalEntry;
    void fault(Step step, const QString &logName) const
    {
        if (hook_)
            hook_(step, logName);
    }
    QString entryPath(const QString &id) const;
    QString lockPath(const QString &id) const;
    void removeStrayLocks() const;

    QString folder_;
    FaultHook hook_;
};

} // namespace core::session
