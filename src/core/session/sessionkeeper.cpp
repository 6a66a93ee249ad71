// SPDX-License-Identifier: MIT
#include "core/session/sessionkeeper.h"

#include "core/session/logappender.h"

#include <QDir>

#include <algorithm>

namespace core::session {

namespace {

QStringList errorsOf(const EntryData &data)
{
    QStringList out;
    for (const OwedLog &log : data.logs)
        if (log.state != OwedLog::State::Done && !log.error.isEmpty())
            out << log.error;
    return out;
}

// The entry's log of that name (OwedLog, const or not); null when it owes none.
template<class Data>
auto logNamed(Data &data, const char *name) -> decltype(&data.logs.front())
{
    for (auto &log : data.logs)
        if (log.name == QLatin1String(name))
            return &log;
    return nullptr;
}

} // namespace

SessionKeeper::SessionKeeper(QStringList journalFolders, QString logFolder, RecordNow recordNow, QLocale locale)
    : logFolder_(std::move(logFolder))
    , recordNow_(std::move(recordNow))
    , locale_(std::move(locale))
{
    for (QString &folder : journalFolders)
        journals_.emplace_back(std::move(folder));
}

SessionKeeper::~SessionKeeper() = default;

QByteArray SessionKeeper::render(const EntryData &data, const SessionRecord &record, const QString &logName) const
{
    if (logName == QLatin1String(kDataLogFileName))
        return dataForm(record);
    if (logName == QLatin1String(kAwayLogFileName)) {
        // The session as LogData.log has it, so scripts can pair the two: its
        // bytes are fixed by the time this log is written.
        AwayLine line{record.endDate, record.startTime, record.endTime, data.away};
        if (const OwedLog *dataLog = logNamed(data, kDataLogFileName)) {
            if (const std::optional<AwayLine> fixed = sessionOfDataRecord(dataLog->record))
                line = {fixed->endDate, fixed->startTime, fixed->endTime, data.away};
        }
        return awayLine(line);
    }
    return displayForm(record, locale_);
}

bool SessionKeeper::save(QString *error)
{
    if (entry_) {
        entry_->data().record = recordNow_();
        entry_->data().away = away();
        return entry_->save(error) || moveEntry();
    }
    EntryData data;
    data.folder = logFolder_;
    data.record = recordNow_();
    data.away = away();
    data.startedUtcMs = startedUtcMs_;
    data.logs = owedLogs();
    QString why;
    for (Journal &journal : journals_) {
        entry_ = journal.begin(data, why.isEmpty() ? &why : nullptr);
        if (entry_) {
            if (!why.isEmpty() && error)
                *error = QStringLiteral("%1; the session is kept in %2 until the next start").arg(why, journal.folder());
            return true;
        }
    }
    if (error)
        *error = why;
    return false;
}

// The entry can no longer be rewritten where it is (its folder was removed,
// or something else now stands there): without a new one, a kill from now on
// would lose the session. It moves to the first journal that takes a new
// entry. Two entries of one session would log it twice, so the old one must
// go first; when it cannot, the new one goes instead and nothing moves.
bool SessionKeeper::moveEntry()
{
    for (Journal &journal : journals_) {
        std::unique_ptr<JournalEntry> fresh = journal.begin(entry_->data(), nullptr);
        if (!fresh)
            continue;
        if (entry_->forget()) {
            entry_->release(true);
            entry_ = std::move(fresh);
            return true;
        }
        fresh->forget();
        fresh->release(true);
        return false;
    }
    return false;
}

SessionKeeper::Started SessionKeeper::start(const Moment &now)
{
    Started started;
    startedUtcMs_ = now.utcMs;
    away_.start(now.monotonicMs, now.bootMs, now.locked);
    // Owed to the logs from its first moment: killed before its first tick,
    // the session is still logged, with no length.
    if (!save(&started.journalProblem))
        failing_ = true;
    // Only entries whose owner is gone are taken: this session's own entry,
    // and those of any other running copy, are held by their owners.
    const files::LockFile deliveries = journals_.front().holdDeliveries(deliveryWaitMs_);
    Blocked blocked;
    started.owed = deliverOwed(blocked);
    return started;
}

QString SessionKeeper::tick(std::optional<double> elapsedSecs, const std::optional<AwayTally::Reading> &away)
{
    if (finished_)
        return {};
    if (away)
        away_.tick(*away, countingAway_ ? idleThresholdMs_ : 0);
    const double elapsed = elapsedSecs.value_or(0.0);
    const bool due = !lastSavedAt_ || failing_ || elapsed - *lastSavedAt_ >= kRewriteEverySecs || elapsed < *lastSavedAt_;
    if (!due)
        return {};
    QString error;
    if (save(&error)) {
        lastSavedAt_ = elapsed;
        failing_ = false;
        return {};
    }
    if (failing_)
        return {}; // said already; the session is still logged at the end
    failing_ = true;
    return error;
}

QList<SessionFate> SessionKeeper::deliverOwed(Blocked &blocked)
{
    // Oldest first across the journal and the spare: an id starts with the
    // session's start.
    std::vector<std::pair<QString, Journal *>> ids;
    for (Journal &journal : journals_)
        for (const QString &id : journal.entryIds())
            ids.emplace_back(id, &journal);
    std::stable_sort(ids.begin(), ids.end(), [](const auto &a, const auto &b) { return a.first < b.first; });

    QList<SessionFate> owed;
    for (const auto &[id, journal] : ids) {
        Journal::Taken taken = journal->take(id);
        if (!taken.entry) {
            if (!taken.unreadable.isEmpty())
                owed << SessionFate{SessionFate::Kind::Unreadable, {}, {}, {taken.unreadable}};
            else if (!taken.waits.isEmpty())
                owed << SessionFate{SessionFate::Kind::Waiting, {}, {}, {taken.waits}};
            continue;
        }
        const EntryData &data = taken.entry->data();
        SessionFate fate{SessionFate::Kind::Logged, data.record, data.folder, {}};
        const SessionRecord record = data.record;
        const Delivered delivered = deliver(
            *taken.entry, [&](const QString &name) { return render(taken.entry->data(), record, name); }, blocked,
            hook_);
        if (delivered != Delivered::All) {
            fate.kind = delivered == Delivered::Kept ? SessionFate::Kind::Kept : SessionFate::Kind::Lost;
            fate.errors = errorsOf(taken.entry->data());
        }
        owed << fate;
    }
    for (const Journal &journal : journals_)
        journal.removeStrayLocks();
    return owed;
}

SessionKeeper::Finished SessionKeeper::finish(const std::optional<AwayTally::Reading> &away)
{
    Finished finished;
    if (finished_)
        return finished;
    finished_ = true;
    if (away)
        away_.tick(*away, countingAway_ ? idleThresholdMs_ : 0);
    // Sessions of earlier runs still owed go first, so each log keeps its
    // order; a log one of them cannot reach holds this session back too.
    const files::LockFile deliveries = journals_.front().holdDeliveries(deliveryWaitMs_);
    Blocked blocked;
    finished.owed = deliverOwed(blocked);

    SessionFate &fate = finished.session;
    fate.folder = logFolder_;
    fate.record = recordNow_();
    if (entry_) {
        entry_->data().record = fate.record;
        entry_->data().away = this->away();
    } else {
        QString error;
        save(&error); // one more try, now that the session is over
    }
    // Each log takes the date and time afresh, as they stand when it is
    // written; LogAway.log the session as LogData.log has it.
    EntryData straight; // without a journal, what the logs are given
    straight.away = this->away();
    straight.logs = owedLogs();
    const auto renderNow = [this, &fate, &straight](const QString &name) {
        EntryData &data = entry_ ? entry_->data() : straight;
        if (name == QLatin1String(kAwayLogFileName))
            return render(data, fate.record, name);
        fate.record = recordNow_();
        const QByteArray bytes = render(data, fate.record, name);
        if (!entry_ && name == QLatin1String(kDataLogFileName))
            logNamed(straight, kDataLogFileName)->record = bytes; // owedLogs() always holds it
        return bytes;
    };
    if (entry_) {
        const Delivered delivered = deliver(*entry_, renderNow, blocked, hook_);
        if (delivered != Delivered::All) {
            fate.kind = delivered == Delivered::Kept ? SessionFate::Kind::Kept : SessionFate::Kind::Lost;
            fate.errors = errorsOf(entry_->data());
        }
        // The session is over: what is left of its entry belongs to
        // whichever copy starts next.
        entry_.reset();
        return finished;
    }
    // No journal to keep it in: straight into the logs, come what may.
    for (const OwedLog &log : owedLogs()) {
        const QString &name = log.name;
        const AppendResult result = appendRecord(QDir(logFolder_).filePath(name), renderNow(name));
        if (!result.ok)
            fate.errors << result.error;
    }
    if (!fate.errors.isEmpty())
        fate.kind = SessionFate::Kind::Lost;
    return finished;
}

} // namespace core::session
