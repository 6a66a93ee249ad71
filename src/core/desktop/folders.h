// SPDX-License-Identifier: MIT
#pragma once
// Where the programs keep their files, each rule written once (README's
// "Where the files go" table is this file in words):
//
//   logs, from the desktop     $XDG_DATA_HOME/tocka           ~/.local/share/tocka
//   logs, from a terminal      the current folder
//   the journal                $XDG_DATA_HOME/tocka/journal
//   the spare journal          $XDG_RUNTIME_DIR/tocka-journal the temporary folder without one
//   LogSetin.ini, installed    $XDG_CONFIG_HOME/tocka         ~/.config/tocka
//   LogSetin.ini, portable     beside the program (core/settings/settingsfolder.h)
//   start at login             $XDG_CONFIG_HOME/autostart/tocka.desktop
//   the single-copy lock       $XDG_RUNTIME_DIR/tocka.lock    the temporary folder without one
//
// The logs: Tocka writes them into the folder it runs in and Tallio reads
// them from there, so when either is started from a menu or at login, both
// must land in the same folder whatever the launcher's own folder is. From a
// terminal they keep the folder they were started in.
//
// The desktop entries say "started from the desktop" through an environment
// variable set with env(1) on their Exec line: the programs take no arguments,
// a desktop entry's Exec line cannot expand $HOME or $XDG_DATA_HOME for a
// Path= key, and launchers leave no reliable trace of their own.

#include <QString>

namespace core::desktop {

inline constexpr char kFromDesktopVariable[] = "TOCKA_FROM_DESKTOP";

// $XDG_DATA_HOME, by default ~/.local/share.
QString dataHome();
// $XDG_CONFIG_HOME, by default ~/.config.
QString configHome();

// $XDG_DATA_HOME/tocka: the logs of a desktop start.
QString logFolder();
// $XDG_DATA_HOME/tocka/journal: on disk, because the runtime folder does not
// outlive a power cut.
QString journalFolder();
// $XDG_RUNTIME_DIR/tocka-journal (the temporary folder without one): where
// a session is kept when the journal cannot be written (a full home). In
// memory: it outlives Tocka, not the machine.
QString spareJournalFolder();
// $XDG_CONFIG_HOME/tocka: LogSetin.ini of an installed Tocka.
QString settingsFolder();
// $XDG_CONFIG_HOME/autostart/tocka.desktop.
QString autostartEntryPath();
// $XDG_RUNTIME_DIR/NAME.lock (the temporary folder when there is no runtime
// folder): gone at logout and reboot, as the copy holding it is.
QString runtimeLockPath(const QString &name);

// When the variable is set: removes it (so nothing the program starts
// inherits it), creates the log folder when it is missing and makes it the
// current folder. Returns what went wrong, or an empty text; on failure the
// program stays in the folder it was started in.
QString enterLogFolderIfFromDesktop();

} // namespace core::desktop
