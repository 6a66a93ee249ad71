// SPDX-License-Identifier: MIT
#pragma once
// Opening the files the programs read and append to without trusting what is
// at the path. A FIFO would block the open or the read for ever, a device can
// hand out endless bytes, and a link can point anywhere, so every open here
// is non-blocking, checks that it got a regular file, and says in plain words
// what it found instead.

#include "core/files/handle.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace core::files {

// What a path turned out to be when it is not a regular file: "a folder",
// "a FIFO (named pipe)", "a character device", ... in words for a message.
QString kindName(unsigned mode);

// What stands at `path` (links followed) when it is something other than a
// regular file, in the words of `kindName`; nothing when the path is free
// or holds a regular file.
std::optional<QString> otherThanAFile(const QString &path);

// True when a symbolic link stands at `path` (to anything or nothing).
bool isSymbolicLink(const QString &path);

// The text for an errno value, with the full disk and the missing
// permission said the way a user reads them.
QString errorText(int error);

enum class ReadResult { Ok, Missing, Failed };

// Opens a regular file to read, without blocking on whatever else stands
// at the path. `Missing` when nothing is there; `Failed` with `why` ("it is
// a FIFO (named pipe)") for anything that is not a regular file we may read.
ReadResult openRegular(const QString &path, Handle *file, QString *why);

// Reads a whole regular file of at most `maxBytes` bytes. `Missing` when
// nothing is at the path; `Failed` with `error` ("cannot read PATH: it is a
// FIFO (named pipe)") for anything that is not a regular file we may read or
// that is larger than the limit.
ReadResult readRegular(const QString &path, qint64 maxBytes, QByteArray *bytes, QString *error);

// Opens a file to append to, creating it when it is missing. A link,
// symbolic or hard, is followed only to a regular file that the user running
// the program owns, and never to create a file elsewhere. An invalid handle with `error`
// naming the path and the reason on failure. `readable` tells whether the
// handle may also be read (a log we may write but not read still takes a
// record).
Handle openForAppend(const QString &path, bool *readable, QString *error);

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`, then flushes the folder, so after a crash the file
// is either the old one or the new one, whole.
bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error);

// Writes `bytes` over the start of the regular file at `path` and cuts the
// file to their length, then flushes it to disk: for when a full disk
// refuses the new file an atomic write needs, while the blocks this file
// already has can still take the bytes. False with `error` when the file
// is shorter than the bytes or cannot be written. Not atomic: a power cut in
// the middle can leave a mix of old and new bytes.
bool overwriteInPlace(const QString &path, const QByteArray &bytes, QString *error);

// Makes the renames and removals in a folder durable.
void syncFolder(const QString &folder);

// A folder only its owner may enter, created with its parents when missing.
// False with `error` ("cannot create PATH: it is a file") when something
// else stands there, it belongs to another user, or it cannot be made.
bool makePrivateFolder(const QString &path, QString *error);

} // namespace core::files
