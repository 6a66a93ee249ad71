// SPDX-License-Identifier: MIT
#include "core/session/journal.h"

#include "core/files/safefile.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

namespace core::session {

namespace {

constexpr qint64 kMaxEntrySize = 1024 * 1024;
// Every entry takes at least this room on disk, so that when a full disk
// refuses the new file an atomic rewrite needs, the next version still fits
// over the old one in place.
constexpr qsizetype kEntryRoom = 4096;
const QLatin1String kEntrySuffix(".session");
const QLatin1String kLockSuffix(".lock");

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

// The entry's bytes with blanks after them up to a whole number of rooms
// (a line of blanks reads as nothing).
QByteArray padded(QByteArray bytes)
{
    const qsizetype room = (bytes.size() + 1 + kEntryRoom - 1) / kEntryRoom * kEntryRoom;
    bytes += QByteArray(room - bytes.size() - 1, ' ');
    bytes += '\n';
    return bytes;
}

} // namespace

// ---------------------------------------------------------------- entry

JournalEntry::JournalEntry(QString path, files::LockFile lock, EntryData data, SaveHook saveHook)
    : path_(std::move(path))
    , lock_(std::move(lock))
    , data_(std::move(data))
    , saveHook_(std::move(saveHook))
{
}

bool JournalEntry::save(QString *error)
{
    if (!onDisk_)
        return false;
    if (saveHook_ && !saveHook_()) {
        if (error)
            *error = QStringLiteral("cannot write %1: refused").arg(QDir::toNativeSeparators(path_));
        return false;
    }
    const QByteArray bytes = padded(serializeEntry(data_));
    QString why;
    if (files::writeAtomically(path_, bytes, &why) || files::overwriteInPlace(path_, bytes, nullptr))
        return true;
    if (error)
        *error = why;
    return false;
}

bool JournalEntry::forget()
{
    if (onDisk_ && files::removeFile(path_)) {
        files::syncFolder(QFileInfo(path_).absolutePath());
        onDisk_ = false;
    }
    return !onDisk_;
}

void JournalEntry::release(bool removeLock)
{
    lock_.release(removeLock);
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

std::unique_ptr<JournalEntry> Journal::begin(EntryData data, QString *error)
{
    if (!files::makePrivateFolder(folder_, error))
        return nullptr;
    // The start in absolute time orders entries oldest first, whatever time
    // zone each session ran in; the pid and a random part keep two copies
    // that start in the same millisecond apart.
    const QString started = data.startedUtcMs > 0
        ? QDateTime::fromMSecsSinceEpoch(data.startedUtcMs, Qt::UTC).toString(QStringLiteral("yyyyMMdd'T'HHmmss.zzz'Z'"))
        : data.record.endDate.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('T')
            + data.record.startTime.toString(QStringLiteral("HHmmss"));
    const QString id = QStringLiteral("%1-%2-%3")
                           .arg(started)
                           .arg(files::processId())
                           .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    files::LockFile lock = files::LockFile::createHeld(lockPath(id), error);
    if (!lock.held())
        return nullptr;
    data.owner = files::processId();
    auto entry = std::make_unique<JournalEntry>(entryPath(id), std::move(lock), std::move(data), saveHook_);
    if (!entry->save(error)) {
        entry->release(true);
        return nullptr;
    }
    return entry;
}

Journal::Taken Journal::take(const QString &id)
{
    Taken taken;
    files::LockFile lock = files::LockFile::takeOver(lockPath(id));
    if (!lock.held()) {
        // A lock file that cannot be one (a folder, a link, a device) would
        // hold the session back without a word.
        if (files::isSymbolicLink(lockPath(id)))
            taken.waits = QStringLiteral("its lock file %1 is a link").arg(QDir::toNativeSeparators(lockPath(id)));
        else if (const std::optional<QString> kind = files::otherThanAFile(lockPath(id)))
            taken.waits = QStringLiteral("its lock file %1 is %2").arg(QDir::toNativeSeparators(lockPath(id)), *kind);
        return taken;
    }
    // Half-written copies of it from a run that was killed while saving.
    const QString halfWritten = id + kEntrySuffix + QLatin1String(".new-");
    for (const QString &name :
         namesIn(folder_, QDir::Files, [&](const QString &name) { return name.startsWith(halfWritten); }))
        files::removeFile(QDir(folder_).filePath(name));
    QByteArray bytes;
    QString error;
    const files::ReadResult read = files::readRegular(entryPath(id), kMaxEntrySize, &bytes, &error);
    if (read == files::ReadResult::Missing) {
        lock.release(true); // delivered by another copy just now
        return taken;
    }
    std::optional<EntryData> data;
    if (read == files::ReadResult::Ok) {
        data = parseEntry(bytes);
        if (!data)
            error = QStringLiteral("%1 is damaged").arg(QDir::toNativeSeparators(entryPath(id)));
    }
    if (!data) {
        taken.unreadable = error;
        return taken;
    }
    taken.entry = std::make_unique<JournalEntry>(entryPath(id), std::move(lock), std::move(*data), saveHook_);
    return taken;
}

files::LockFile Journal::holdDeliveries(int maxWaitMs) const
{
    // Hidden, so it is never taken for an entry's lock file.
    return files::LockFile::wait(folder_ + QLatin1String("/.deliveries.lock"), maxWaitMs);
}

void Journal::removeStrayLocks() const
{
    const QStringList locks = namesIn(folder_, QDir::Files, [](const QString &name) {
        return name.size() > kLockSuffix.size() && name.endsWith(kLockSuffix);
    });
    for (const QString &name : locks) {
        const QString id = name.chopped(kLockSuffix.size());
        if (QFileInfo::exists(entryPath(id)))
            continue;
        files::LockFile lock = files::LockFile::takeOver(lockPath(id));
        lock.release(lock.held() && !QFileInfo::exists(entryPath(id)));
    }
}

} // namespace core::session
