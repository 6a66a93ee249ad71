// SPDX-License-Identifier: MIT
#include "core/session/sessionkeeper.h"

#include "core/session/logappender.h"

#include <QDir>

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

} // namespace

SessionKeeper::SessionKeeper(QString journalFolder, QString logFolder, RecordNow recordNow, QLocale locale)
    : journal_(std::move(journalFolder))
    , logFolder_(std::move(logFolder))
    , recordNow_(std::move(recordNow))
    , locale_(std::move(locale))
{
}

SessionKeeper::~SessionKeeper() = default;

QByteArray SessionKeeper::render(const SessionRecord &record, const QString &logName) const
{
    return logName == QLatin1String(kDataLogFileName) ? dataForm(record) : displayForm(record, locale_);
}

bool SessionKeeper::save(QString *error)
{
    if (entry_) {
        entry_->data().record = recordNow_();
        return entry_->save(error);
    }
    EntryData data;
    data.folder = logFolder_;
    data.record = recordNow_();
    data.logs = owedLogs();
    entry_ = journal_.begin(std::move(data), error);
    return entry_ != nullptr;
}

SessionKeeper::Started SessionKeeper::start()
{
    Started started;
    // Owed to the logs from its first moment: killed before its first tick,
    // the session is still logged, with no length.
    if (!save(&started.journalProblem))
        failing_ = true;
    // Only entries whose owner is gone are taken: this session's own entry,
    // and those of any other running copy, are held by their owners.
    Blocked blocked;
    started.owed = deliverOwed(blocked);
    return started;
}

QString SessionKeeper::tick(std::optional<double> elapsedSecs)
{
    if (finished_)
        return {};
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
    QList<SessionFate> owed;
    for (const QString &id : journal_.entryIds()) {
        Journal::Taken taken = journal_.take(id);
        if (!taken.entry) {
            if (!taken.unreadable.isEmpty())
                owed << SessionFate{SessionFate::Kind::Unreadable, {}, {}, {taken.unreadable}};
            continue;
        }
        const EntryData &data = taken.entry->data();
        SessionFate fate{SessionFate::Kind::Logged, data.record, data.folder, {}};
        const SessionRecord record = data.record;
        const bool delivered = deliver(
            *taken.entry, [&](const QString &name) { return render(record, name); }, blocked, hook_);
        if (!delivered) {
            fate.kind = SessionFate::Kind::Kept;
            fate.errors = errorsOf(taken.entry->data());
        }
        owed << fate;
    }
    journal_.removeStrayLocks();
    return owed;
}

SessionKeeper::Finished SessionKeeper::finish()
{
    Finished finished;
    if (finished_)
        return finished;
    finished_ = true;
    // Sessions of earlier runs still owed go first, so each log keeps its
    // order; a log one of them cannot reach holds this session back too.
    Blocked blocked;
    finished.owed = deliverOwed(blocked);

    SessionFate &fate = finished.session;
    fate.folder = logFolder_;
    fate.record = recordNow_();
    if (entry_) {
        entry_->data().record = fate.record;
    } else {
        QString error;
        save(&error); // one more try, now that the session is over
    }
    // Each log takes the date and time afresh, as they stand when it is written.
    const auto renderNow = [this, &fate](const QString &name) {
        fate.record = recordNow_();
        return render(fate.record, name);
    };
    if (entry_) {
        if (!deliver(*entry_, renderNow, blocked, hook_)) {
            fate.kind = SessionFate::Kind::Kept;
            fate.errors = errorsOf(entry_->data());
        }
        // The session is over: what is left of its entry belongs to
        // whichever copy starts next.
        entry_.reset();
        return finished;
    }
    // No journal to keep it in: straight into the logs, come what may.
    for (const QString &name : {QString::fromLatin1(kLogFileName), QString::fromLatin1(kDataLogFileName)}) {
        const AppendResult result = appendRecord(QDir(logFolder_).filePath(name), renderNow(name));
        if (!result.ok)
            fate.errors << result.error;
    }
    if (!fate.errors.isEmpty())
        fate.kind = SessionFate::Kind::Lost;
    return finished;
}

} // namespace core::session
