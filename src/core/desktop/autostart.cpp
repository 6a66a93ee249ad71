// SPDX-License-Identifier: MIT
#include "core/desktop/autostart.h"

#include "core/desktop/folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace core::desktop {

QString execArgument(const QString &program)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString arg;
    bool quote = program.isEmpty();
    for (const QChar c : program) {
        if (reserved.contains(c))
            quote = true;
        // Inside double quotes these four take a backslash.
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            arg += QLatin1Char('\\');
        // A lone percent sign would be a field code.
        if (c == QLatin1Char('%'))
            arg += QLatin1Char('%');
        arg += c;
    }
    if (quote)
        arg = QLatin1Char('"') + arg + QLatin1Char('"');
    // The Exec value is a string: its own backslashes are escaped once more.
    arg.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return arg;
}

QString autostartEntryText(const QString &program)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Tocka\n"
                          "Comment=Shows how long this session at the computer has run and logs each session\n"
                          "Exec=env %1=1 %2\n"
                          "Icon=tocka\n"
                          "Terminal=false\n"
                          "StartupNotify=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(QLatin1String(desktop::kFromDesktopVariable), execArgument(program));
}

bool isAutostartEnabled()
{
    return QFileInfo::exists(autostartEntryPath());
}

bool enableAutostart(const QString &program, QString *error)
{
    const QString path = autostartEntryPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *error = QStringLiteral("Cannot create the folder %1.").arg(QFileInfo(path).absolutePath());
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(autostartEntryText(program).toUtf8()) < 0 || !file.commit()) {
        *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool disableAutostart(QString *error)
{
    QFile file(autostartEntryPath());
    if (file.exists() && !file.remove()) {
        *error = QStringLiteral("Cannot remove %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    return true;
}

} // namespace core::desktop
