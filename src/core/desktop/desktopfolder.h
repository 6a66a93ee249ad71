// SPDX-License-Identifier: MIT
#pragma once
// Where the programs run when the desktop starts them. Tocka writes its logs
// into the folder it runs in and Tallio reads them from there, so when either
// is started from a menu or at login, both must land in the same folder
// whatever the launcher's own folder is. From a terminal they keep the folder
// they were started in.
//
// The desktop entries say "started from the desktop" through an environment
// variable set with env(1) on their Exec line: the programs take no arguments,
// a desktop entry's Exec line cannot expand $HOME or $XDG_DATA_HOME for a
// Path= key, and launchers leave no reliable trace of their own.

#include <QString>

namespace core::desktop {

inline constexpr char kFromDesktopVariable[] = "TOCKA_FROM_DESKTOP";

// $XDG_DATA_HOME/tocka, by default ~/.local/share/tocka.
QString logFolder();

// When the variable is set: removes it (so nothing the program starts
// inherits it), creates the log folder when it is missing and makes it the
// current folder. Returns what went wrong, or an empty text; on failure the
// program stays in the folder it was started in.
QString enterLogFolderIfFromDesktop();

} // namespace core::desktop
