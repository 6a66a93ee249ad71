// SPDX-License-Identifier: MIT
#pragma once
// Starting Tocka at login: an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/tocka.desktop, that starts this very program in
// the desktop's log folder. Whether Tocka starts at login is whether the file
// exists, so removing it by hand switches it off just as well.

#include "core/desktop/folders.h"

#include <QString>

namespace core::desktop {

// `program` as one argument of a desktop entry's Exec key: quoted when it
// holds a character the key reserves, and escaped for the key's string type.
QString execArgument(const QString &program);

// Why `program` cannot be written into an entry (not an absolute path, or a
// line break or other control character in it); empty when it can.
QString programPathProblem(const QString &program);

// The whole entry that starts `program` at login; empty for a program that
// programPathProblem() refuses.
QString autostartEntryText(const QString &program);

bool isAutostartEnabled();

// Write or remove the entry; on failure `error` says why and nothing changed.
// A program path that programPathProblem() refuses is never written.
bool enableAutostart(const QString &program, QString *error);
bool disableAutostart(QString *error);

} // namespace core::desktop
