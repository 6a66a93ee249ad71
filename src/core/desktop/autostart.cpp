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

namespace {

QString codePoint(QChar c)
{
    return QStringLiteral("U+%1").arg(QString::number(c.unicode(), 16).toUpper(), 4, QLatin1Char('0'));
}

// The path as a message can show it: control characters as their code points.
QString visiblePath(const QString &program)
{
    QString shown;
    for (const QChar c : program) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line
            || c.category() == QChar::Separator_Paragraph)
            shown += QLatin1Char('<') + codePoint(c) + QLatin1Char('>');
        else
            shown += c;
    }
    return shown;
}

} // namespace

QString programPathProblem(const QString &program)
{
    if (!QDir::isAbsolutePath(program))
        return QStringLiteral("it is not an absolute path");
    for (const QChar c : program) {
        // A line break would end the key and start a line of its own in a
        // file the desktop runs at every login; no other control character
        // belongs in a path either.
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c.category() == QChar::Separator_Line
            || c.category() == QChar::Separator_Paragraph)
            return QStringLiteral("it holds a line break");
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("it holds a control character, %1").arg(codePoint(c));
    }
    return {};
}

QString autostartEntryText(const QString &program)
{
    if (!programPathProblem(program).isEmpty())
        return {};
    // TryExec: once the program is gone (the package removed), the desktop
    // skips the entry instead of failing to start it at every login.
    QString tryExec = program;
    tryExec.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Tocka\n"
                          "Comment=Shows how long this session at the computer has run and logs each session\n"
                          "TryExec=%3\n"
                          "Exec=env %1=1 %2\n"
                          "Icon=tocka\n"
                          "Terminal=false\n"
                          "StartupNotify=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(QLatin1String(desktop::kFromDesktopVariable), execArgument(program), tryExec);
}

bool isAutostartEnabled()
{
    return QFileInfo::exists(autostartEntryPath());
}

bool enableAutostart(const QString &program, QString *error)
{
    if (const QString problem = programPathProblem(program); !problem.isEmpty()) {
        *error = QStringLiteral("Cannot start Tocka at login from %1: %2.").arg(visiblePath(program), problem);
        return false;
    }
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
