// SPDX-License-Identifier: MIT
#pragma once
// A session's life from its first moment to the logs, in one place.
//
// The clock window starts the keeper when the session starts, lets it see
// every tick, and finishes it when the window unloads; the keeper reads the
// session's record from the clock when it needs one. From its first moment
// the session has an entry in the journal (journal.h), rewritten once a
// minute, so a kill or a power cut never loses it; at the end the record
// goes into every log exactly once (delivery.h), and sessions that earlier
// runs could not log go first, oldest first, so every log keeps its order.
// Without a journal (it cannot be written) the record goes straight into
// the logs.
//
// What happened comes back as data; the words a user reads are made from it
// by the window.

#include "core/session/delivery.h"
#include "core/session/journal.h"
#include "core/session/record.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace core::session {

// What became of one session's record.
struct SessionFate
{
    enum class Kind {
        Logged,     // every log has it
        Kept,       // a log lacks it; the journal keeps it for the next start
        Lost,       // a log lacks it, and the journal could not keep it
        Unreadable, // an entry left by an earlier run that cannot be read; left in place
    };
    Kind kind = Kind::Logged;
    SessionRecord record; // as written, or as last saved
    QString folder;       // the folder of its logs
    QStringList errors;   // why a log lacks it, one per log; Unreadable: why the entry cannot be read
};

class SessionKeeper
{
public:
    // The session's record as it stands this moment (each log reads the
    // clock afresh when it is written).
    using RecordNow = std::function<SessionRecord()>;

    SessionKeeper(QString journalFolder, QString logFolder, RecordNow recordNow, QLocale locale = QLocale());
    ~SessionKeeper();
    SessionKeeper(const SessionKeeper &) = delete;
    SessionKeeper &operator=(const SessionKeeper &) = delete;

    // Tests stop the work at each step of a delivery, as a kill would.
    void setFaultHook(FaultHook hook) { hook_ = std::move(hook); }

    // Every this often of session time, the journal's copy is rewritten.
    static constexpr double kRewriteEverySecs = 60;

    struct Started
    {
        QString journalProblem;  // why the journal cannot keep this session (it is still logged at the end)
        QList<SessionFate> owed; // sessions earlier runs left owed, oldest first
    };
    // The session starts: its journal entry, then the sessions earlier runs
    // left owed.
    Started start();

    // A tick of the session clock: the journal's copy is rewritten at the
    // first tick, then once kRewriteEverySecs of session time have passed,
    // or when the time went back. The problem, the first time the journal
    // cannot keep the session; empty otherwise.
    QString tick(std::optional<double> elapsedSecs);

    struct Finished
    {
        QList<SessionFate> owed; // earlier sessions, written first
        SessionFate session;     // this one
    };
    // The session ends: into the logs it goes. Once only.
    Finished finish();
    bool finished() const { return finished_; }

    const QString &logFolder() const { return logFolder_; }

private:
    QList<SessionFate> deliverOwed(Blocked &blocked);
    bool save(QString *error);
    QByteArray render(const SessionRecord &record, const QString &logName) const;

    Journal journal_;
    QString logFolder_;
    RecordNow recordNow_;
    QLocale locale_;
    FaultHook hook_;
    std::unique_ptr<JournalEntry> entry_; // this session's, held while it runs
    std::optional<double> lastSavedAt_;   // session time of the last rewrite; none before the first tick
    bool failing_ = false;                // the journal refused the last save
    bool finished_ = false;
};

} // namespace core::session
