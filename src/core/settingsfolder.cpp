#include "settingsfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace settingsfolder {
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

Location choose(const QString &programFolder, bool programFolderWritable, const QString &configFolder,
                bool configFileExists)
{
    const QString beside = inFolder(programFolder);
    if (programFolderWritable || configFolder.isEmpty())
        return {beside, beside};
    const QString own = inFolder(configFolder);
    return {configFileExists ? own : beside, own};
}

Location locate(const QString &program)
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return choose(program, canWriteIn(program), config, !config.isEmpty() && QFileInfo::exists(inFolder(config)));
}

QString settingsFilePath(const QString &programFolder)
{
    return locate(programFolder).writePath;
}

} // namespace settingsfolder
