// SPDX-License-Identifier: MIT
#include "core/session/delivery.h"

#include "core/session/journal.h"
#include "core/session/logappender.h"

#include <QDir>

namespace core::session {

namespace {

void fault(const FaultHook &hook, Step step, const QString &logName)
{
    if (hook)
        hook(step, logName);
}

bool deliverOne(JournalEntry &entry, OwedLog &log, const Render &render, const FaultHook &hook)
{
    const QString path = QDir(entry.data().folder).filePath(log.name);
    LogAppend append;
    QString error;
    if (!append.open(path, &error)) {
        if (log.record.isEmpty())
            log.record = render(log.name);
        log.error = error;
        return false;
    }
    if (log.state == OwedLog::State::Noted) {
        switch (append.find(log.at, log.lead + log.record)) {
        case LogAppend::Found::All:
            log.state = OwedLog::State::Done;
            log.error.clear();
            return true;
        case LogAppend::Found::TornTail:
            if (!append.cutBack(log.at, &error)) {
                log.error = error;
                return false;
            }
            break;
        case LogAppend::Found::Unknown:
            // Appending blind could log it twice; it waits for a log we can read.
            log.error = QStringLiteral("cannot read %1 to see whether it holds the session")
                            .arg(QDir::toNativeSeparators(path));
            return false;
        case LogAppend::Found::Absent:
            break;
        }
    }
    if (log.record.isEmpty())
        log.record = render(log.name);
    const OwedLog before = log;
    log.state = OwedLog::State::Noted;
    log.at = append.offset();
    log.lead = append.lead();
    log.error.clear();
    QString why;
    if (entry.onDisk() && !entry.save(&why) && !entry.forget()) {
        // Neither noted nor gone: written now, the record would be written
        // again by the next start. It waits in the entry as it was.
        log = before;
        log.error = QStringLiteral("the journal cannot note it: %1").arg(why);
        return false;
    }
    fault(hook, Step::EntrySaved, log.name);
    std::function<void()> midway;
    if (hook)
        midway = [&] { fault(hook, Step::HalfAppended, log.name); };
    if (!append.write(log.record, &error, midway)) {
        log.state = OwedLog::State::Pending;
        log.at = -1;
        log.lead.clear();
        log.error = error;
        return false;
    }
    append.close();
    fault(hook, Step::Appended, log.name);
    log.state = OwedLog::State::Done;
    return true;
}

} // namespace

Delivered deliver(JournalEntry &entry, const Render &render, Blocked &blocked, const FaultHook &hook)
{
    bool all = true;
    for (OwedLog &log : entry.data().logs) {
        if (log.state == OwedLog::State::Done)
            continue;
        const QString key = QDir(entry.data().folder).filePath(log.name);
        if (blocked.contains(key)) {
            // Keep the log's order: an older session waits for it.
            if (log.record.isEmpty())
                log.record = render(log.name);
            log.error = QStringLiteral("%1 waits for an older session that could not be written to it")
                            .arg(QDir::toNativeSeparators(key));
            all = false;
            continue;
        }
        if (!deliverOne(entry, log, render, hook)) {
            all = false;
            blocked.insert(key);
        }
    }
    if (!all) {
        entry.save();
        return entry.onDisk() ? Delivered::Kept : Delivered::NotKept;
    }
    entry.forget();
    fault(hook, Step::EntryRemoved, {});
    entry.release(true);
    return Delivered::All;
}

} // namespace core::session
