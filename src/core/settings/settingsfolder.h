// SPDX-License-Identifier: MIT
#pragma once
// Where Tocka keeps LogSetin.ini. An installed copy (from the package or
// `cmake --install`, under any prefix, run by anyone, root included) keeps it
// in the user's configuration folder, so that a program folder shared by all
// users, or one a clean build wipes, never holds one user's settings. A
// portable copy (its build folder, or a folder of its own, with or without a
// LogSetin.ini already in it: any folder it may write that is not an
// installed tree) keeps the file beside itself.
//
// A file left in the old place, beside an installed program, is still read
// until the configuration folder holds one of its own: moving never loses
// the settings.

#include <QString>

namespace core::settings {

inline constexpr char kFileName[] = "LogSetin.ini";

struct Location
{
    QString readPath;  // the file the settings are loaded from
    QString writePath; // the file the settings are saved to
};

// What the decision depends on, found out by `locate`.
struct LocationFacts
{
    QString programFolder;
    bool installed = false;        // the program sits in an installed tree
    bool programFolderWritable = false;
    bool besideExists = false;     // LogSetin.ini beside the program
    QString configFolder;          // $XDG_CONFIG_HOME/tocka, empty when unknown
    bool configFileExists = false; // LogSetin.ini in the configuration folder
};

// The decision itself.
Location chooseLocation(const LocationFacts &facts);

// Whether a program folder belongs to an installed tree: the installation put
// Tocka's desktop entry in share/applications beside its bin folder.
bool isInstalledTree(const QString &programFolder);

// The decision for this machine, for a program in `programFolder`.
Location locate(const QString &programFolder);

// The file in use, for telling the user (about window, messages).
QString settingsFilePath(const QString &programFolder);

} // namespace core::settings
