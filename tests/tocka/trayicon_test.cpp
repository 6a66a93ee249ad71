// SPDX-License-Identifier: MIT
// The tray menu, and the login entry it switches.

#include "core/desktop/autostart.h"
#include "tocka/trayicon.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(TrayIcon, MenuReachesTheWindowsSwitchesLoginStartAndQuits)
{
    // A configuration folder of its own: other tests write the entry too.
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QByteArray oldConfigHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    int settings = 0, about = 0, quit = 0;
    QStringList told;
    bool counting = true;
    const QString program = QStringLiteral("/opt/My Tocka/tocka");
    tocka::TrayIcon tray(QIcon(), {[&] { ++settings; }, [&] { ++about; }, [&] { ++quit; },
                                   [&](const QString &m) { told << m; }, program, [&] { return counting; },
                                   [&](bool on) { counting = on; }});

    QStringList items;
    for (QAction *action : tray.menu().actions()) {
        if (!action->isSeparator())
            items << action->text();
    }
    EXPECT_EQ(items, (QStringList{"&Settings", "&About", "Start at &login", "Count &time away", "&Quit"}));

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

    // Counting time away: on, switched off from the menu, and what the tip says.
    EXPECT_TRUE(tray.countTimeAway().isChecked());
    tray.countTimeAway().trigger();
    EXPECT_FALSE(counting);
    EXPECT_FALSE(tray.countTimeAway().isChecked());
    tray.setSessionTime(QStringLiteral("0:05:09"));
    EXPECT_EQ(tray.toolTip(), QStringLiteral("Tocka: 0:05:09"));
    tray.setSessionTime(QStringLiteral("2:05:09"), core::session::AwaySeconds{3600, 600, 300});
    EXPECT_EQ(tray.toolTip(), QStringLiteral("Tocka: 2:05:09\nAway in it: 0:15:00 (locked 0:10:00, idle 0:05:00)\n"
                                             "The computer slept 1:00:00 besides"));
    tray.menu().actions().last()->trigger();
    EXPECT_EQ(quit, 1);
    qputenv("XDG_CONFIG_HOME", oldConfigHome);
}
