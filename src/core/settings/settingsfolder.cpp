// SPDX-License-Identifier: MIT
#include "core/settings/settingsfolder.h"

#include "core/desktop/folders.h"

#include <QDir>
#include <QFileInfo>

namespace core::settings {

namespace {

QString inFolder(const QString &folder)
{
    return QDir(folder).filePath(QString::fromLatin1(kFileName));
}

bool canWriteIn(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

} // namespace

Location chooseLocation(const LocationFacts &facts)
{
    const QString beside = inFolder(facts.programFolder);
    if (facts.configFolder.isEmpty())
        return {beside, beside};
    if (!facts.installed && facts.programFolderWritable)
        return {beside, beside};
    // Installed, or a lone copy in a folder it may not write (put into
    // /usr/local/bin by hand, say): the configuration folder, read from
    // beside the program until it holds a file of its own.
    const QString own = inFolder(facts.configFolder);
    return {facts.configFileExists || !facts.besideExists ? own : beside, own};
}

bool isInstalledTree(const QString &programFolder)
{
    return QFileInfo::exists(QDir(programFolder).filePath(QStringLiteral("../share/applications/tocka.desktop")));
}

Location locate(const QString &program)
{
    LocationFacts facts;
    facts.programFolder = program;
    facts.installed = isInstalledTree(facts.programFolder);
    facts.programFolderWritable = canWriteIn(facts.programFolder);
    facts.besideExists = QFileInfo::exists(inFolder(facts.programFolder));
    facts.configFolder = desktop::settingsFolder();
    facts.configFileExists = !facts.configFolder.isEmpty() && QFileInfo::exists(inFolder(facts.configFolder));
    return chooseLocation(facts);
}

QString settingsFilePath(const QString &programFolder)
{
    return locate(programFolder).writePath;
}

} // namespace core::settings
