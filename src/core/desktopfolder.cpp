// SPDX-License-Identifier: MIT
#include "desktopfolder.h"

#include <QDir>
#include <QStandardPaths>

namespace core {

namespace desktopfolder {

QString logFolder()
{
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        data = QDir::homePath() + QLatin1String("/.local/share");
    return data + QLatin1String("/tocka");
}

QString enterWhenStartedFromDesktop()
{
    if (!qEnvironmentVariableIsSet(kVariable))
        return {};
    qunsetenv(kVariable);
    const QString folder = logFolder();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create the log folder %1; staying in %2").arg(folder, QDir::currentPath());
    if (!QDir::setCurrent(folder))
        return QStringLiteral("cannot enter the log folder %1; staying in %2").arg(folder, QDir::currentPath());
    return {};
}

} // namespace desktopfolder

} // namespace core
