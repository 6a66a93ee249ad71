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
// When the journal cannot be written (a full home), the session is kept in
// a spare one (in the runtime folder, which is in memory: it outlives the
// program but not the machine); without either, the record goes straight
// into the logs.
//
// Time away from the computer is kept with the session (awaytally.h), saved
// with it in the journal and logged beside it in LogAway.log.
//
// What happened comes back as data; the words a user reads are made from it
// by the window.

#include "core/session/awaytally.h"
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
#include <vector>

namespace core::session {

// What became of one session's record.
struct SessionFate
{
    enum class Kind {
        Logged,     // every log has it
        Kept,       // a log lacks it; the journal keeps it for the next start
        Lost,       // a log lacks it, and the journal could not keep it
        Unreadable, // an entry left by an earlier run that cannot be read; left in place
        Waiting,    // an entry left by an earlier run that cannot be taken over now
    };
    Kind kind = Kind::Logged;
    SessionRecord record; // as written, or as last saved
    QString folder;       // the folder of its logs
    QStringList errors;   // why a log lacks it, one per log; Unreadable, Waiting: why
};

class SessionKeeper
{
public:
    // The session's record as it stands this moment (each log reads the
    // clock afresh when it is written).
    using RecordNow = std::function<SessionRecord()>;

    // `journalFolders`: the journal, then a spare one for when it cannot be
    // written. Owed sessions are taken from all of them.
    SessionKeeper(QStringList journalFolders, QString logFolder, RecordNow recordNow, QLocale locale = QLocale());
    ~SessionKeeper();
    SessionKeeper(const SessionKeeper &) = delete;
    SessionKeeper &operator=(const SessionKeeper &) = delete;

    // Tests stop the work at each step of a delivery, as a kill would.
    void setFaultHook(FaultHook hook) { hook_ = std::move(hook); }
    // ... and fail the journal's saves, as a disk that takes nothing more would.
    void setSaveHook(const SaveHook &hook)
    {
        for (Journal &journal : journals_)
            journal.setSaveHook(hook);
    }

    // Every this often of session time, the journal's copy is rewritten.
    static constexpr double kRewriteEverySecs = 60;

    // How long a delivery waits for another copy's to end.
    void setDeliveryWaitMs(int ms) { deliveryWaitMs_ = ms; }

    // Time away: idle after this long without input (0: idle is not
    // counted), and whether time away is counted at all (when not, every
    // line records zeros).
    void setIdleThresholdMs(qint64 ms) { idleThresholdMs_ = ms; }
    void setCountingAway(bool counting) { countingAway_ = counting; }
    // Counting time away starts afresh now (after it was switched back on).
    void restartAway(qint64 monotonicMs, qint64 bootMs, bool locked) { away_.start(monotonicMs, bootMs, locked); }
    bool countingAway() const { return countingAway_; }

    struct Moment
    {
        qint64 utcMs = 0;       // milliseconds since 1970 UTC: orders the session among others owed, whatever the zone
        qint64 monotonicMs = 0; // the two clocks time away is measured by
        qint64 bootMs = 0;
        bool locked = false;    // the screen, as the session starts
    };
    struct Started
    {
        QString journalProblem;  // why the journal cannot keep this session (it is still logged at the end)
        QList<SessionFate> owed; // sessions earlier runs left owed, oldest first
    };
    // The session starts: its journal entry, then the sessions earlier runs
    // left owed.
    Started start(const Moment &now);

    // A tick of the session clock, with the readings for time away when
    // there are any: the journal's copy is rewritten at the first tick, then
    // once kRewriteEverySecs of session time have passed, or when the time
    // went back. The problem, the first time the journal cannot keep the
    // session; empty otherwise.
    QString tick(std::optional<double> elapsedSecs, const std::optional<AwayTally::Reading> &away = {});
    // The screen was locked or unlocked.
    void setLocked(bool locked, qint64 monotonicMs) { away_.setLocked(locked, monotonicMs); }
    // Whether the next tick should read the idle time (see AwayTally).
    bool wantsIdleAt(qint64 monotonicMs) const
    {
        return countingAway_ && idleThresholdMs_ > 0 && away_.wantsIdleAt(monotonicMs);
    }
    bool idleStretch() const { return away_.idleStretch(); }
    // Time away as the session would be logged now.
    AwaySeconds away() const { return countingAway_ ? away_.seconds() : AwaySeconds{}; }

    struct Finished
    {
        QList<SessionFate> owed; // earlier sessions, written first
        SessionFate session;     // this one
    };
    // The session ends, with a last reading for time away (a machine that
    // slept until now): into the logs it goes. Once only.
    Finished finish(const std::optional<AwayTally::Reading> &away = {});
    bool finished() const { return finished_; }

    const QString &logFolder() const { return logFolder_; }

private:
    QList<SessionFate> deliverOwed(Blocked &blocked);
    bool save(QString *error);
    bool moveEntry();
    QByteArray render(const EntryData &data, const SessionRecord &record, const QString &logName) const;

    std::vector<Journal> journals_; // the journal, then the spare
    qint64 startedUtcMs_ = 0;
    AwayTally away_;
    qint64 idleThresholdMs_ = 5 * 60 * 1000;
    bool countingAway_ = true;
    QString logFolder_;
    RecordNow recordNow_;
    QLocale locale_;
    FaultHook hook_;
    std::unique_ptr<JournalEntry> entry_; // this session's, held while it runs
    std::optional<double> lastSavedAt_;   // session time of the last rewrite; none before the first tick
    int deliveryWaitMs_ = 10000;
    bool failing_ = false;                // the journal refused the last save
    bool finished_ = false;
};

} // namespace core::session
