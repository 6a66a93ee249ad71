#pragma once
// A small file that keeps the running session safe from what the normal exit
// cannot survive (power loss, kill -9, the display server dying). The clock
// rewrites it atomically as the session runs and removes it once the session
// is in both logs; a start that finds one left behind writes it into the logs
// of the folder it belongs to.

#include "record.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace sessionlog {

struct Checkpoint
{
    SessionRecord record; // end date and time: when the checkpoint was taken
    QString folder;       // the folder whose logs the session belongs in
    QStringList pending;  // log file names still to receive the record
};

class CheckpointStore
{
public:
    explicit CheckpointStore(QString path);

    // ~/.local/share/tocka/session.checkpoint (a disk folder, not the runtime
    // one, which does not outlive a power cut).
    static QString defaultPath();

    const QString &path() const { return path_; }
    bool save(const Checkpoint &checkpoint, QString *error = nullptr) const;
    // nullopt when there is none; `error` is set when one exists but cannot
    // be read (it is then left in place).
    std::optional<Checkpoint> load(QString *error = nullptr) const;
    bool remove() const;

private:
    QString path_;
};

// Writes the record of the checkpoint into each pending log, appending to
// `Log.log` in the display form and to `LogData.log` in the data form.
// Returns the log names that failed, each with its error.
QStringList appendToLogs(const SessionRecord &record, const QString &folder, const QStringList &logNames,
                         const QLocale &locale, QStringList *errors);

struct Recovery
{
    bool found = false;
    bool complete = false; // every pending log took the record
    QString message;       // for the user; empty when nothing was found
};

// Turns a checkpoint left behind by a copy that is no longer running into an
// ordinary record in the logs it was pending for. Call only while holding the
// single-copy lock, so the checkpoint cannot belong to a running copy.
Recovery recoverLeftover(const CheckpointStore &store, const QLocale &locale = QLocale());

} // namespace sessionlog
