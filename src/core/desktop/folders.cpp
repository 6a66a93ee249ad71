// SPDX-License-Identifier: MIT
#include "core/desktop/folders.h"

#include <QDir>
#include <QStandardPaths>

namespace core::desktop {

namespace {

QString xdgHome(QStandardPaths::StandardLocation location, const char *fallback)
{
    const QString folder = QStandardPaths::writableLocation(location);
    return folder.isEmpty() ? QDir::homePath() + QLatin1String(fallback) : folder;
}

} // namespace

QString dataHome()
{
    return xdgHome(QStandardPaths::GenericDataLocation, "/.local/share");
}

QString configHome()
{
    return xdgHome(QStandardPaths::GenericConfigLocation, "/.config");
}

QString logFolder()
{
    return dataHome() + QLatin1String("/tocka");
}

QString journalFolder()
{
    return logFolder() + QLatin1String("/journal");
}

QString settingsFolder()
{
    return configHome() + QLatin1String("/tocka");
}

QString autostartEntryPath()
{
    return configHome() + QLatin1String("/autostart/tocka.desktop");
}

namespace {

QString runtimeFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

} // namespace

QString spareJournalFolder()
{
    return runtimeFolder() + QLatin1String("/tocka-journal");
}

QString runtimeLockPath(const QString &name)
{
    return runtimeFolder() + QLatin1Char('/') + name + QLatin1String(".lock");
}

QString enterLogFolderIfFromDesktop()
{
    if (!qEnvironmentVariableIsSet(kFromDesktopVariable))
        return {};
    qunsetenv(kFromDesktopVariable);
    const QString folder = logFolder();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create the log folder %1; staying in %2").arg(folder, QDir::currentPath());
    if (!QDir::setCurrent(folder))
        return QStringLiteral("cannot enter the log folder %1; staying in %2").arg(folder, QDir::currentPath());
    return {};
}

} // namespace core::desktop
