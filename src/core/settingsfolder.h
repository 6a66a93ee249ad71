#pragma once
// Where Tocka keeps LogSetin.ini. A copy that runs from a folder it may write
// to (unpacked into a folder of its own, a portable copy) keeps the file
// beside itself; an installed copy (/usr/bin cannot be written) keeps it in
// the user's configuration folder instead, and reads a file shipped beside
// the program until it has saved one of its own.

#include <QString>

namespace settingsfolder {

inline constexpr char kFileName[] = "LogSetin.ini";

struct Location
{
    QString readPath;  // the file the settings are loaded from
    QString writePath; // the file the settings are saved to
};

// The decision itself, with every fact it depends on handed in.
Location choose(const QString &programFolder, bool programFolderWritable, const QString &configFolder,
                bool configFileExists);

// The decision for this machine: the program's folder, whether it can be
// written, and the user's configuration folder for this application.
Location locate(const QString &programFolder);

// The file in use, for telling the user (about window, messages).
QString settingsFilePath(const QString &programFolder);

} // namespace settingsfolder
