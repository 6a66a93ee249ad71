// SPDX-License-Identifier: MIT
#pragma once
// A journal entry as it sits on disk: one session owed to the logs, with
// how far each log has got. Plain "key=value" lines, values percent-encoded,
// so an entry can be read by a person and a damaged one is found out rather
// than half believed.

#include "core/session/awayline.h"
#include "core/session/record.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace core::session {

struct OwedLog
{
    enum class State {
        Pending, // nothing written yet
        Noted,   // `at` and `record` are noted; the append may or may not have happened
        Done,    // the log has the record
    };
    QString name;          // a log's bare file name: kLogFileName, kDataLogFileName or kAwayLogFileName
    State state = State::Pending;
    QByteArray record;     // the bytes fixed for this log; empty until first rendered
    qint64 at = -1;        // Noted: the log's size before the append
    QByteArray lead;       // Noted: a line end written before the record
    QString error;         // why the last try failed

    friend bool operator==(const OwedLog &, const OwedLog &) = default;
};

struct EntryData
{
    QString folder;        // the folder whose logs the session belongs in (absolute)
    SessionRecord record;  // as last saved; rendered for a log that has no bytes yet
    qint64 owner = 0;      // the pid that started it, for people reading the folder
    qint64 startedUtcMs = 0; // when it started, in milliseconds since 1970 UTC; 0 when not known
    AwaySeconds away;      // time away in it, as last saved
    QList<OwedLog> logs;   // every log, in writing order

    friend bool operator==(const EntryData &, const EntryData &) = default;
};

// The logs a session is owed to, in the order they are written, none yet.
QList<OwedLog> owedLogs();

// True when `bytes` are one whole record as the log of that name holds it:
// six lines, each ending in CR LF, the separator first, and for
// LogData.log every value in its data form; one line for LogAway.log.
bool isWholeRecord(const QString &logName, const QByteArray &bytes);

// The date, start and end time of a LogData.log record's bytes; nullopt
// when they are not one whole record.
std::optional<AwayLine> sessionOfDataRecord(const QByteArray &bytes);

QByteArray serializeEntry(const EntryData &data);
// nullopt for anything that is not an entry as serializeEntry writes it:
// a missing key, a folder that is not absolute, a log that is not one of
// ours (a damaged or foreign entry must not make us append to some other
// file), a state we do not know, or bytes for a log that are not one whole
// record of it (appended, they would leave the log damaged).
std::optional<EntryData> parseEntry(const QByteArray &bytes);

} // namespace core::session
