#include "checkpoint.h"

#include "logappender.h"
#include "numbers.h"
#include "regional.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace sessionlog {
namespace {

constexpr int kMaxCheckpointSize = 64 * 1024;

QByteArray line(const char *key, const QByteArray &value)
{
    return QByteArray(key) + '=' + value + '\n';
}

} // namespace

CheckpointStore::CheckpointStore(QString path)
    : path_(std::move(path))
{
}

QString CheckpointStore::defaultPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QLatin1String("/.local/share");
    return folder + QLatin1String("/tocka/session.checkpoint");
}

bool CheckpointStore::save(const Checkpoint &c, QString *error) const
{
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QByteArray bytes;
    bytes += line("folder", c.folder.toUtf8().toPercentEncoding("/"));
    bytes += line("endDate", dataDate(c.record.endDate));
    bytes += line("startTime", dataTime(c.record.startTime));
    bytes += line("endTime", dataTime(c.record.endTime));
    bytes += line("elapsed", dataNumber(c.record.elapsedSecs));
    bytes += line("clockText", c.record.clockText.toUtf8().toPercentEncoding());
    bytes += line("pending", c.pending.join(QLatin1Char(',')).toUtf8().toPercentEncoding(","));
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot save %1: %2").arg(path_, file.errorString());
        return false;
    }
    return true;
}

std::optional<Checkpoint> CheckpointStore::load(QString *error) const
{
    QFile file(path_);
    if (!file.exists())
        return std::nullopt;
    auto fail = [&](const QString &why) -> std::optional<Checkpoint> {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path_, why);
        return std::nullopt;
    };
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const QByteArray bytes = file.read(kMaxCheckpointSize + 1);
    if (bytes.size() > kMaxCheckpointSize)
        return fail(QStringLiteral("it is too large to be a checkpoint"));

    Checkpoint c;
    bool haveDate = false, haveStart = false, haveEnd = false, haveFolder = false;
    for (const QByteArray &raw : bytes.split('\n')) {
        const qsizetype eq = raw.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = raw.left(eq);
        const QByteArray value = raw.mid(eq + 1);
        if (key == "folder") {
            c.folder = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
            haveFolder = !c.folder.isEmpty();
        } else if (key == "endDate") {
            if (auto d = parseDataDate(value)) {
                c.record.endDate = *d;
                haveDate = true;
            }
        } else if (key == "startTime") {
            if (auto t = parseDataTime(value)) {
                c.record.startTime = *t;
                haveStart = true;
            }
        } else if (key == "endTime") {
            if (auto t = parseDataTime(value)) {
                c.record.endTime = *t;
                haveEnd = true;
            }
        } else if (key == "elapsed") {
            c.record.elapsedSecs = isEmptyValue(value) ? std::nullopt : parseDataNumber(value);
        } else if (key == "clockText") {
            c.record.clockText = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
        } else if (key == "pending") {
            const QString list = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
            c.pending = list.split(QLatin1Char(','), Qt::SkipEmptyParts);
        }
    }
    if (!haveDate || !haveStart || !haveEnd || !haveFolder)
        return fail(QStringLiteral("it is damaged"));
    // Only our own two logs, by bare name: a damaged or foreign checkpoint
    // must not make us append to some other file.
    const QStringList allowed{QString::fromLatin1(kLogFileName), QString::fromLatin1(kDataLogFileName)};
    QStringList pending;
    for (const QString &name : std::as_const(c.pending))
        if (allowed.contains(name) && !pending.contains(name))
            pending << name;
    // No usable name at all: the record still belongs in both logs.
    c.pending = pending.isEmpty() ? allowed : pending;
    return c;
}

bool CheckpointStore::remove() const
{
    return !QFile::exists(path_) || QFile::remove(path_);
}

QStringList appendToLogs(const SessionRecord &record, const QString &folder, const QStringList &logNames,
                         const QLocale &locale, QStringList *errors)
{
    QStringList failed;
    for (const QString &name : logNames) {
        const bool data = name == QLatin1String(kDataLogFileName);
        const QByteArray bytes = data ? dataForm(record) : displayForm(record, locale);
        const AppendResult result = appendRecord(QDir(folder).filePath(name), bytes);
        if (!result.ok) {
            failed << name;
            if (errors)
                *errors << result.error;
        }
    }
    return failed;
}

Recovery recoverLeftover(const CheckpointStore &store, const QLocale &locale)
{
    Recovery r;
    QString error;
    const std::optional<Checkpoint> c = store.load(&error);
    if (!c) {
        if (!error.isEmpty()) {
            r.found = true;
            r.message = QStringLiteral("A session left behind by an earlier run could not be recovered: %1.").arg(error);
        }
        return r;
    }
    r.found = true;
    QStringList errors;
    const QStringList failed = appendToLogs(c->record, c->folder, c->pending, locale, &errors);
    const QString when = regional::shortDate(c->record.endDate, locale) + QLatin1Char(' ')
        + regional::timeWithSeconds(c->record.endTime, locale);
    const QString length = c->record.clockText.isEmpty() ? QStringLiteral("0:00:00") : c->record.clockText;
    if (failed.isEmpty()) {
        store.remove();
        r.complete = true;
        r.message = QStringLiteral("Tocka recovered a session that was not logged when it ended: %1 long, "
                                   "last seen running on %2. It has been added to the logs in %3.")
                        .arg(length, when, c->folder);
        return r;
    }
    Checkpoint rest = *c;
    rest.pending = failed;
    store.save(rest);
    r.message = QStringLiteral("Tocka found a session that was not logged when it ended (%1 long, last seen "
                               "running on %2), but could not add it to every log: %3. It will try again "
                               "at the next start.")
                    .arg(length, when, errors.join(QLatin1String("; ")));
    return r;
}

} // namespace sessionlog
