// SPDX-License-Identifier: MIT
#include "core/session/journal.h"

#include "core/files/safefile.h"
#include "core/session/logappender.h"
#include "core/text/regional.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace core::session {

namespace {

constexpr qint64 kMaxEntrySize = 1024 * 1024;
const QLatin1String kEntrySuffix(".session");
const QLatin1String kLockSuffix(".lock");

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

QList<OwedLog> bothLogs()
{
    QList<OwedLog> logs(2);
    logs[0].name = QString::fromLatin1(kLogFileName);
    logs[1].name = QString::fromLatin1(kDataLogFileName);
    return logs;
}

int openLock(const QString &path)
{
    return ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
}

bool tryLock(int fd)
{
    int r;
    while ((r = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    return r == 0;
}

// The lock file we hold is still the one at its path: a copy that finished
// the entry before us removed it, and a lock on a removed file guards nothing.
bool stillThere(int fd, const QString &path)
{
    struct stat held = {}, there = {};
    return ::fstat(fd, &held) == 0 && ::lstat(QFile::encodeName(path).constData(), &there) == 0
        && held.st_dev == there.st_dev && held.st_ino == there.st_ino;
}

QString lengthText(const SessionRecord &r)
{
    return r.clockText.isEmpty() ? QStringLiteral("0:00:00") : r.clockText;
}

} // namespace

// ---------------------------------------------------------------- entry

JournalEntry::JournalEntry(Journal &journal, QString id, int lockFd)
    : journal_(journal)
    , id_(std::move(id))
    , path_(journal.entryPath(id_))
    , lockFd_(lockFd)
{
}

JournalEntry::~JournalEntry()
{
    release(false);
}

void JournalEntry::release(bool removeLock)
{
    if (lockFd_ < 0)
        return;
    if (removeLock)
        ::unlink(QFile::encodeName(journal_.lockPath(id_)).constData());
    ::close(lockFd_);
    lockFd_ = -1;
}

bool JournalEntry::save(QString *error)
{
    QString why;
    if (files::writeAtomically(path_, Journal::serialize(data_), &why)) {
        saveError_.clear();
        return true;
    }
    saveError_ = why;
    if (error)
        *error = why;
    return false;
}

bool JournalEntry::update(const SessionRecord &record, QString *error)
{
    data_.record = record;
    return save(error);
}

QStringList JournalEntry::errors() const
{
    QStringList out;
    for (const OwedLog &log : data_.logs)
        if (log.state != OwedLog::State::Done && !log.error.isEmpty())
            out << log.error;
    return out;
}

bool JournalEntry::deliverOne(OwedLog &log, const std::function<QByteArray(const QString &)> &render)
{
    const QString path = QDir(data_.folder).filePath(log.name);
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
    log.state = OwedLog::State::Noted;
    log.at = append.offset();
    log.lead = append.lead();
    log.error.clear();
    // A journal that cannot be written (its disk is full) must not keep the
    // record out of the log: it only loses the guard against a second copy
    // of it after a crash in the next few milliseconds.
    save(nullptr);
    journal_.fault(Step::EntrySaved, log.name);
    std::function<void()> midway;
    if (journal_.hook_)
        midway = [&] { journal_.fault(Step::HalfAppended, log.name); };
    if (!append.write(log.record, &error, midway)) {
        log.state = OwedLog::State::Pending;
        log.at = -1;
        log.lead.clear();
        log.error = error;
        return false;
    }
    append.close();
    journal_.fault(Step::Appended, log.name);
    log.state = OwedLog::State::Done;
    return true;
}

bool JournalEntry::deliver(const std::function<QByteArray(const QString &)> &render, QSet<QString> *blocked)
{
    bool all = true;
    for (OwedLog &log : data_.logs) {
        if (log.state == OwedLog::State::Done)
            continue;
        const QString key = QDir(data_.folder).filePath(log.name);
        if (blocked && blocked->contains(key)) {
            // Keep the log's order: an older session waits for it.
            if (log.record.isEmpty())
                log.record = render(log.name);
            log.error = QStringLiteral("%1 waits for an older session that could not be written to it")
                            .arg(QDir::toNativeSeparators(key));
            all = false;
            continue;
        }
        if (!deliverOne(log, render)) {
            all = false;
            if (blocked)
                blocked->insert(key);
        }
    }
    if (!all) {
        save(nullptr);
        return false;
    }
    ::unlink(QFile::encodeName(path_).constData());
    files::syncFolder(journal_.folder());
    journal_.fault(Step::EntryRemoved, {});
    release(true);
    return true;
}

// ---------------------------------------------------------------- journal

Journal::Journal(QString folder)
    : folder_(std::move(folder))
{
}

QString Journal::entryPath(const QString &id) const
{
    return folder_ + QLatin1Char('/') + id + kEntrySuffix;
}

QString Journal::lockPath(const QString &id) const
{
    return folder_ + QLatin1Char('/') + id + kLockSuffix;
}

namespace {

// The names in `folder` that are not hidden, of the kinds in `filters`, that
// `wanted` accepts, in order. Not through QDir's name patterns: those are
// regular expressions underneath, and compiling the first one loads a
// regular-expression engine that would then sit in memory as long as Tocka
// runs, for a few plain comparisons.
template<typename Wanted>
QStringList namesIn(const QString &folder, QDir::Filters filters, Wanted wanted)
{
    QStringList names;
    QDirIterator it(folder, filters);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (wanted(name))
            names << name;
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

QStringList Journal::entryIds() const
{
    QStringList ids;
    const QStringList names = namesIn(folder_, QDir::Files | QDir::System, [](const QString &name) {
        return name.size() > kEntrySuffix.size() && name.endsWith(kEntrySuffix);
    });
    for (const QString &name : names)
        ids << name.chopped(kEntrySuffix.size());
    return ids;
}

std::unique_ptr<JournalEntry> Journal::begin(const SessionRecord &record, const QString &logFolder, QString *error)
{
    if (!QDir().mkpath(folder_)) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(folder_));
        return nullptr;
    }
    ::chmod(QFile::encodeName(folder_).constData(), 0700);
    // The start orders entries oldest first; the pid and a random part keep
    // two copies that start in the same second apart.
    const QString id = QStringLiteral("%1T%2-%3-%4")
                           .arg(record.endDate.toString(QStringLiteral("yyyyMMdd")),
                                record.startTime.toString(QStringLiteral("HHmmss")))
                           .arg(::getpid())
                           .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    // The lock file comes into place already locked, so a copy tidying away
    // lock files that have no entry never takes ours in between.
    const QString fresh = lockPath(id) + QLatin1String(".new");
    const int fd = openLock(fresh);
    if (fd < 0 || !tryLock(fd)
        || ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(lockPath(id)).constData()) != 0) {
        const int e = errno;
        if (fd >= 0) {
            ::unlink(QFile::encodeName(fresh).constData());
            ::close(fd);
        }
        if (error)
            *error = QStringLiteral("cannot lock %1: %2").arg(lockPath(id), files::errorText(e));
        return nullptr;
    }
    std::unique_ptr<JournalEntry> entry(new JournalEntry(*this, id, fd));
    entry->data_.folder = logFolder;
    entry->data_.record = record;
    entry->data_.owner = ::getpid();
    entry->data_.logs = bothLogs();
    if (!entry->save(error)) {
        entry->release(true);
        return nullptr;
    }
    return entry;
}

Journal::Delivery Journal::deliverOwed(const QLocale &locale, QSet<QString> *blocked)
{
    Delivery out;
    QSet<QString> ownBlocked;
    if (!blocked)
        blocked = &ownBlocked;
    for (const QString &id : entryIds()) {
        const int fd = openLock(lockPath(id));
        if (fd < 0)
            continue;
        if (!tryLock(fd) || !stillThere(fd, lockPath(id))) {
            ::close(fd); // its owner runs, or another copy is delivering it
            continue;
        }
        std::unique_ptr<JournalEntry> entry(new JournalEntry(*this, id, fd));
        // Half-written copies of it from a run that was killed while saving.
        const QString halfWritten = id + kEntrySuffix + QLatin1String(".new-");
        for (const QString &name :
             namesIn(folder_, QDir::Files, [&](const QString &name) { return name.startsWith(halfWritten); }))
            QFile::remove(QDir(folder_).filePath(name));
        QByteArray bytes;
        QString error;
        const files::ReadResult read = files::readRegular(entryPath(id), kMaxEntrySize, &bytes, &error);
        if (read == files::ReadResult::Missing) {
            entry->release(true); // delivered by another copy just now
            continue;
        }
        std::optional<EntryData> data;
        if (read == files::ReadResult::Ok) {
            data = parse(bytes);
            if (!data)
                error = QStringLiteral("%1 is damaged").arg(QDir::toNativeSeparators(entryPath(id)));
        }
        if (!data) {
            ++out.unreadable;
            out.messages << QStringLiteral("A session left behind by an earlier run could not be recovered: %1. "
                                           "The file is kept for you to look at.")
                                .arg(error);
            continue;
        }
        entry->data_ = *data;
        const SessionRecord record = data->record;
        const auto render = [&](const QString &name) {
            return name == QLatin1String(kDataLogFileName) ? dataForm(record) : displayForm(record, locale);
        };
        const QString when = text::shortDate(record.endDate, locale) + QLatin1Char(' ')
            + text::timeWithSeconds(record.endTime, locale);
        if (entry->deliver(render, blocked)) {
            ++out.delivered;
            out.messages << QStringLiteral("Tocka recovered a session that was not logged when it ended: %1 long, "
                                           "last seen running on %2. It has been added to the logs in %3.")
                                .arg(lengthText(record), when, QDir::toNativeSeparators(data->folder));
        } else {
            ++out.kept;
            out.messages << QStringLiteral("Tocka found a session that was not logged when it ended (%1 long, last "
                                           "seen running on %2), but could not add it to every log: %3. It is kept "
                                           "and will be tried again at the next start.")
                                .arg(lengthText(record), when, entry->errors().join(QLatin1String("; ")));
        }
    }
    removeStrayLocks();
    return out;
}

void Journal::removeStrayLocks() const
{
    // A copy killed between removing its delivered entry and its lock file.
    const QStringList locks = namesIn(folder_, QDir::Files, [](const QString &name) {
        return name.size() > kLockSuffix.size() && name.endsWith(kLockSuffix);
    });
    for (const QString &name : locks) {
        const QString id = name.chopped(kLockSuffix.size());
        if (QFileInfo::exists(entryPath(id)))
            continue;
        const int fd = openLock(lockPath(id));
        if (fd < 0)
            continue;
        if (tryLock(fd) && stillThere(fd, lockPath(id)) && !QFileInfo::exists(entryPath(id)))
            ::unlink(QFile::encodeName(lockPath(id)).constData());
        ::close(fd);
    }
}

QByteArray Journal::serialize(const EntryData &d)
{
    QByteArray bytes = line("tocka-journal", "1");
    bytes += line("owner", QByteArray::number(d.owner));
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

std::optional<EntryData> Journal::parse(const QByteArray &bytes)
{
    EntryData d;
    d.logs = bothLogs();
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
            // Only our own two logs, by bare name: a damaged or foreign entry
            // must not make us append to some other file.
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
        }
    }
    if (!haveHeader || !haveDate || !haveStart || !haveEnd || !haveFolder)
        return std::nullopt;
    return d;
}

} // namespace core::session
