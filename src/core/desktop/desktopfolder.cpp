// SPDX-License-Identifier: MIT
#include "core/desktop/desktopfolder.h"

#include <QDir>
#include <QStandardPaths>

namespace core::desktop {

QString logFolder()
{
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        data = QDir::homePath() + QLatin1String("/.local/share");
    return data + QLatin1String("/tocka");
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
