// SPDX-License-Identifier: MIT
#pragma once
// Writing a journal entry's record into each log that lacks it, exactly once.
//
// Before a record is appended to a log, the entry notes the log's size and
// the bytes about to go there. Whatever stops the program (before, during or
// after an append, before the entry is updated), the next delivery finds
// either those bytes at that offset (the log has it: done), a part of them
// ending the log (a write cut off: cut back and write again), or not them
// (append).

#include <QByteArray>
#include <QSet>
#include <QString>

#include <functional>

namespace core::session {

class JournalEntry;

// The points at which delivering a record can be cut off; tests stop the
// work at each, as a kill or a power cut would.
enum class Step {
    EntrySaved,   // the entry notes the log's size and the bytes; nothing appended yet
    HalfAppended, // half of the bytes are in the log
    Appended,     // the log has the record; the entry does not know yet
    EntryRemoved, // every log has it; the entry is gone, its lock file not yet
};
using FaultHook = std::function<void(Step step, const QString &logName)>;

// The bytes of the record for the log of that bare name, as they stand the
// moment that log is written.
using Render = std::function<QByteArray(const QString &logName)>;

// The logs (folder/name) that an older session could not reach in this
// round: a newer session waits for them too, so every log keeps its order.
using Blocked = QSet<QString>;

enum class Delivered {
    All,     // every log has the record; the entry is gone
    Kept,    // a log lacks it; the entry keeps it for the next try
    NotKept, // a log lacks it, and the journal could not keep the entry
};

// Delivers `entry` into each log that lacks it, in order, noting in the
// entry what happened to each (OwedLog::state and error). A log that fails
// is added to `blocked`.
//
// A record goes into a log only once the entry on disk says so (or the
// entry is off the disk altogether): an entry that still said "not yet"
// for a log that has the record would make the next start write it again.
Delivered deliver(JournalEntry &entry, const Render &render, Blocked &blocked, const FaultHook &hook = {});

} // namespace core::session
