// SPDX-License-Identifier: MIT
// The tray menu and the login entry it writes.

#include "core/desktop/autostart.h"
#include "tocka/trayicon.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// desktop-file-validate's verdict on an entry: empty when it accepts it.
QString validate(const QString &text)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tocka.desktop"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write ") + path;
    file.write(text.toUtf8());
    file.close();
    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QStringLiteral("desktop-file-validate"), {path});
    if (!run.waitForFinished(20000))
        return QStringLiteral("desktop-file-validate did not run (desktop-file-utils)");
    const QString out = QString::fromLocal8Bit(run.readAll());
    return run.exitCode() == 0 && out.trimmed().isEmpty() ? QString() : out;
}

} // namespace

TEST(Autostart, ExecLineStartsThisProgramWhereverItLies)
{
    struct Row
    {
        const char *program, *exec;
    };
    const Row rows[] = {
        {"/usr/bin/tocka", "/usr/bin/tocka"},
        {"/home/u/My Programs/tocka", "\"/home/u/My Programs/tocka\""},
        {"/home/u/a$b/tocka", "\"/home/u/a\\\\$b/tocka\""},
        {"/home/u/back\\slash/tocka", "\"/home/u/back\\\\\\\\slash/tocka\""},
        {"/home/u/say \"hi\"/tocka", "\"/home/u/say \\\\\"hi\\\\\"/tocka\""},
        {"/home/u/100%/tocka", "/home/u/100%%/tocka"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(core::desktop::execArgument(QString::fromUtf8(row.program)), QString::fromUtf8(row.exec))
            << row.program;
        const QString text = core::desktop::autostartEntryText(QString::fromUtf8(row.program));
        EXPECT_TRUE(text.contains(QStringLiteral("\nExec=env TOCKA_FROM_DESKTOP=1 ") + QString::fromUtf8(row.exec)
                                  + QLatin1Char('\n')))
            << qPrintable(text);
        EXPECT_EQ(validate(text), QString()) << row.program;
    }
}

TEST(TrayIcon, MenuReachesTheWindowsSwitchesLoginStartAndQuits)
{
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(core::desktop::autostartEntryPath());
    int settings = 0, about = 0, quit = 0;
    QStringList told;
    const QString program = QStringLiteral("/opt/My Tocka/tocka");
    tocka::TrayIcon tray(QIcon(), {[&] { ++settings; }, [&] { ++about; }, [&] { ++quit; },
                            [&](const QString &m) { told << m; }, program});

    QStringList items;
    for (QAction *action : tray.menu().actions()) {
        if (!action->isSeparator())
            items << action->text();
    }
    EXPECT_EQ(items, (QStringList{"&Settings", "&About", "Start at &login", "&Quit"}));

    tray.menu().actions().at(0)->trigger();
    tray.menu().actions().at(1)->trigger();
    EXPECT_EQ(settings, 1);
    EXPECT_EQ(about, 1);
    EXPECT_EQ(quit, 0);

    QAction &login = tray.startAtLogin();
    EXPECT_FALSE(login.isChecked());
    login.trigger();
    EXPECT_TRUE(login.isChecked());
    QFile entry(core::desktop::autostartEntryPath());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly)) << qPrintable(entry.fileName());
    EXPECT_EQ(QString::fromUtf8(entry.readAll()), core::desktop::autostartEntryText(program));
    entry.close();

    // Removed by hand: the menu says so the next time it opens.
    ASSERT_TRUE(QFile::remove(core::desktop::autostartEntryPath()));
    Q_EMIT tray.menu().aboutToShow();
    EXPECT_FALSE(login.isChecked());
    login.trigger();
    login.trigger();
    EXPECT_FALSE(login.isChecked());
    EXPECT_FALSE(QFile::exists(core::desktop::autostartEntryPath()));

    // A folder that cannot be made: the user is told, the item stays off.
    const QString autostartFolder = QFileInfo(core::desktop::autostartEntryPath()).absolutePath();
    QDir(autostartFolder).removeRecursively();
    {
        QFile blocker(autostartFolder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    login.trigger();
    EXPECT_FALSE(login.isChecked());
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.front().contains(autostartFolder)) << qPrintable(told.front());
    QFile::remove(autostartFolder);

    tray.setSessionTime(QStringLiteral("0:05:09"));
    EXPECT_TRUE(tray.toolTip().contains(QStringLiteral("0:05:09")));
    tray.menu().actions().last()->trigger();
    EXPECT_EQ(quit, 1);
    QStandardPaths::setTestModeEnabled(false);
}
