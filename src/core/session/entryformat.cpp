// SPDX-License-Identifier: MIT
#include "core/session/entryformat.h"

#include <QDir>

#include <algorithm>

namespace core::session {

namespace {

const char *stateName(OwedLog::State s)
{
    switch (s) {
    case OwedLog::State::Noted:
        return "noted";
    case OwedLog::State::Done:
        return "done";
    case OwedLog::State::Pending:
        break;
    }
    return "pending";
}

QByteArray pct(const QByteArray &bytes)
{
    return bytes.toPercentEncoding();
}

QByteArray line(const char *key, const QByteArray &value)
{
    return QByteArray(key) + '=' + value + '\n';
}

} // namespace

QList<OwedLog> owedLogs()
{
    QList<OwedLog> logs(3);
    logs[0].name = QString::fromLatin1(kLogFileName);
    logs[1].name = QString::fromLatin1(kDataLogFileName);
    logs[2].name = QString::fromLatin1(kAwayLogFileName);
    return logs;
}

namespace {

// The six values of a record's bytes, each line ending in CR LF.
std::optional<QList<QByteArray>> recordValues(const QByteArray &bytes)
{
    // Six lines ending in CR LF: seven parts split at LF, the last empty.
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() != kValuesPerRecord + 1 || !lines.last().isEmpty())
        return std::nullopt;
    QList<QByteArray> values;
    for (int i = 0; i < kValuesPerRecord; ++i) {
        if (!lines[i].endsWith('\r') || lines[i].count('\r') != 1)
            return std::nullopt;
        values << lines[i].chopped(1);
    }
    return values;
}

} // namespace

std::optional<AwayLine> sessionOfDataRecord(const QByteArray &bytes)
{
    if (!isWholeRecord(QString::fromLatin1(kDataLogFileName), bytes))
        return std::nullopt;
    const QList<QByteArray> values = *recordValues(bytes);
    return AwayLine{*parseDataDate(values[1]), *parseDataTime(values[2]), *parseDataTime(values[3]), {}};
}

bool isWholeRecord(const QString &logName, const QByteArray &bytes)
{
    if (logName == QLatin1String(kAwayLogFileName))
        return bytes.endsWith(kLineEnd) && bytes.count('\n') == 1 && parseAwayLine(bytes.chopped(2));
    const std::optional<QList<QByteArray>> parsed = recordValues(bytes);
    if (!parsed)
        return false;
    const QList<QByteArray> &values = *parsed;
    const QByteArray &length = values[4];
    if (!length.isEmpty() && !parseDataNumber(length))
        return false;
    if (logName == QLatin1String(kLogFileName))
        return values[0] == kSeparator;
    const QByteArray &clock = values[5];
    return logName == QLatin1String(kDataLogFileName) && values[0] == dataText(QString::fromLatin1(kSeparator))
        && parseDataDate(values[1]) && parseDataTime(values[2]) && parseDataTime(values[3])
        && (clock.isEmpty() || (clock.size() >= 2 && clock.startsWith('"') && clock.endsWith('"')));
}

QByteArray serializeEntry(const EntryData &d)
{
    QByteArray bytes = line("tocka-journal", "1");
    bytes += line("owner", QByteArray::number(d.owner));
    if (d.startedUtcMs > 0)
        bytes += line("started", QByteArray::number(d.startedUtcMs));
    bytes += line("away", QByteArray::number(d.away.asleep) + ',' + QByteArray::number(d.away.locked) + ','
                              + QByteArray::number(d.away.idle));
    bytes += line("folder", pct(d.folder.toUtf8()));
    bytes += line("endDate", dataDate(d.record.endDate));
    bytes += line("startTime", dataTime(d.record.startTime));
    bytes += line("endTime", dataTime(d.record.endTime));
    bytes += line("elapsed", dataNumber(d.record.elapsedSecs));
    bytes += line("clockText", pct(d.record.clockText.toUtf8()));
    for (const OwedLog &log : d.logs) {
        bytes += line("log", pct(log.name.toUtf8()) + ';' + stateName(log.state) + ';' + QByteArray::number(log.at) + ';'
                                 + pct(log.lead) + ';' + pct(log.record) + ';' + pct(log.error.toUtf8()));
    }
    return bytes;
}

std::optional<EntryData> parseEntry(const QByteArray &bytes)
{
    EntryData d;
    d.logs = owedLogs();
    bool haveHeader = false, haveDate = false, haveStart = false, haveEnd = false, haveFolder = false;
    for (const QByteArray &raw : bytes.split('\n')) {
        const qsizetype eq = raw.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = raw.left(eq);
        const QByteArray value = raw.mid(eq + 1);
        if (key == "tocka-journal") {
            haveHeader = value == "1";
        } else if (key == "owner") {
            d.owner = value.toLongLong();
        } else if (key == "started") {
            bool ok = false;
            d.startedUtcMs = value.toLongLong(&ok);
            if (!ok || d.startedUtcMs <= 0)
                return std::nullopt;
        } else if (key == "away") {
            // The fields of an away line after its date and times.
            const std::optional<AwayLine> line = parseAwayLine("2000-01-01,00:00:00,00:00:00," + value);
            if (!line)
                return std::nullopt;
            d.away = line->away;
        } else if (key == "folder") {
            d.folder = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
            haveFolder = QDir::isAbsolutePath(d.folder);
        } else if (key == "endDate") {
            if (auto v = parseDataDate(value)) {
                d.record.endDate = *v;
                haveDate = true;
            }
        } else if (key == "startTime") {
            if (auto v = parseDataTime(value)) {
                d.record.startTime = *v;
                haveStart = true;
            }
        } else if (key == "endTime") {
            if (auto v = parseDataTime(value)) {
                d.record.endTime = *v;
                haveEnd = true;
            }
        } else if (key == "elapsed") {
            d.record.elapsedSecs = isEmptyValue(value) ? std::nullopt : parseDataNumber(value);
        } else if (key == "clockText") {
            d.record.clockText = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
        } else if (key == "log") {
            const QList<QByteArray> f = value.split(';');
            if (f.size() != 6)
                return std::nullopt;
            const QString name = QString::fromUtf8(QByteArray::fromPercentEncoding(f[0]));
            auto log = std::find_if(d.logs.begin(), d.logs.end(), [&](const OwedLog &l) { return l.name == name; });
            if (log == d.logs.end())
                return std::nullopt;
            if (f[1] == "done")
                log->state = OwedLog::State::Done;
            else if (f[1] == "noted")
                log->state = OwedLog::State::Noted;
            else if (f[1] == "pending")
                log->state = OwedLog::State::Pending;
            else
                return std::nullopt;
            bool ok = false;
            log->at = f[2].toLongLong(&ok);
            if (!ok || (log->state == OwedLog::State::Noted && log->at < 0))
                return std::nullopt;
            log->lead = QByteArray::fromPercentEncoding(f[3]);
            log->record = QByteArray::fromPercentEncoding(f[4]);
            log->error = QString::fromUtf8(QByteArray::fromPercentEncoding(f[5]));
            if (log->state == OwedLog::State::Noted && log->record.isEmpty())
                return std::nullopt;
            if ((!log->lead.isEmpty() && log->lead != kLineEnd)
                || (!log->record.isEmpty() && !isWholeRecord(log->name, log->record)))
                return std::nullopt;
        }
    }
    if (!haveHeader || !haveDate || !haveStart || !haveEnd || !haveFolder)
        return std::nullopt;
    return d;
}

} // namespace core::session
