// SPDX-License-Identifier: MIT
// The clock window over a fake platform: start-up, ticks, and what its unload
// leaves in the logs, including when a log refuses the record.

#include "clock/form1.h"
#include "settings/frmsetting.h"
#include "core/session/journal.h"
#include "support/fakeplatform.h"
#include "tocka/tockaapp.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ClockWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        fake.folder = dir.path();
        fake.set(QDate(2026, 12, 7), QTime(23, 59, 58));
        app = std::make_unique<tocka::TockaApp>(fake, dir.filePath(QStringLiteral("state/journal")));
    }
    void TearDown() override
    {
        app.reset();
        QDir::setCurrent(previous);
    }
    void tick(int times = 1, double seconds = 1)
    {
        for (int i = 0; i < times; ++i) {
            fake.advance(seconds);
            app->form1().Timer1_Timer();
        }
    }
    QString log(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    QString previous;
    FakePlatform fake;
    std::unique_ptr<tocka::TockaApp> app;
};

TEST_F(ClockWindow, ASecondCopyIsRefusedAndTouchesNothing)
{
    fake.anotherCopyRunning = true;
    // Told to end (a signal, a logout) while its message is up, it ends at
    // once rather than when the message is answered.
    bool endedFromTheBox = false;
    fake.onMessageBox = [&] {
        try {
            app->endSession();
        } catch (const ProcessEnded &) {
            endedFromTheBox = true;
            throw;
        }
    };
    EXPECT_THROW(app->form1(), ProcessEnded);
    EXPECT_TRUE(endedFromTheBox);
    EXPECT_EQ(fake.messages, QStringList{QStringLiteral("Its not Tocka yet! Quit Being so fiesty, damnit!")});
    EXPECT_EQ(fake.messageTitles, QStringList{QStringLiteral("Tocka!")});
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(ClockWindow, StartsBigAtTheTopRightAndTicksIntoTheTitle)
{
    clockwindow::Form1 &clock = app->form1();
    EXPECT_FLOAT_EQ(clock.Width(), 1220);
    EXPECT_FLOAT_EQ(clock.Height(), 275);
    EXPECT_FLOAT_EQ(clock.Top(), 0);
    EXPECT_FLOAT_EQ(clock.Left(), 1280 * 15 - 1220 - 20);
    EXPECT_EQ(clock.Label1.Caption(), QStringLiteral("Time On:"));
    EXPECT_EQ(clock.Caption(), QStringLiteral("Been On Since"));
    EXPECT_TRUE(clock.Timer1.isTicking());
    EXPECT_EQ(clock.Timer1.Interval(), 1000);
    EXPECT_FALSE(clock.Bounce.Enabled());
    EXPECT_FALSE(clock.TockaAlarmTimer.Enabled());
    EXPECT_EQ(clock.SettingVersion, QStringLiteral("2.0"));

    tick();
    EXPECT_EQ(clock.Label1.Caption(), QStringLiteral("0:00:01"));
    EXPECT_EQ(clock.Caption(), QStringLiteral("Zemlo:  0:00:01"));
    tick(32); // across midnight
    EXPECT_EQ(clock.Caption(), QStringLiteral("Zemlo:  0:00:33"));
}

TEST_F(ClockWindow, UnloadWritesOneRecordToEachLogAndForgetsTheJournalEntry)
{
    app->form1();
    tick(4); // 23:59:58 -> 00:00:02
    fake.advance(0.5);
    app->endSession();
    EXPECT_EQ(contents(log("LogData.log")),
              QByteArray("\"----------\"\r\n#2026-12-08#\r\n#23:59:58#\r\n#00:00:02#\r\n4\r\n\"0:00:04\"\r\n"));
    EXPECT_EQ(contents(log("Log.log")),
              QByteArray("----------\r\n8 Dec 2026\r\n23:59:58\r\n00:00:02\r\n4\r\n0:00:04\r\n"));
    EXPECT_TRUE(core::session::Journal(app->journalFolders().front()).entryIds().isEmpty());
    EXPECT_FALSE(app->isForm1Loaded());

    app->endSession(); // a second request finds nothing left to unload
    EXPECT_EQ(contents(log("LogData.log")).count("----------"), 1);
    EXPECT_TRUE(fake.messages.isEmpty());
}

// The desktop ends (a signal, a logout) with the settings window open: the
// session is logged once, and closing what is left as the program quits
// starts no other.
TEST_F(ClockWindow, TheDesktopEndingWithTheSettingsWindowOpenLeavesNoOtherSession)
{
    app->start();
    app->FrmSetting().Show();
    app->FrmSetting().chkOnTop.setValue(1);
    tick(3);
    app->endSession();
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible())
            window->close();
    EXPECT_FALSE(app->isForm1Loaded());
    EXPECT_EQ(contents(log("LogData.log")).count("----------"), 1);
    EXPECT_TRUE(core::session::Journal(app->journalFolders().front()).entryIds().isEmpty());
}

// Time away from the desktop's readings to LogAway.log: a lock, a wall
// clock set forward, a suspend, an idle stretch; and the idle inhibitors asked only while someone is away.
TEST_F(ClockWindow, TimeAwayGoesBesideTheSessionFromTheDesktopsReadings)
{
    fake.set(QDate(2026, 12, 7), QTime(9, 0, 0));
    fake.idle = 0;
    fake.inhibited = false;
    app->form1();
    const auto work = [&](int seconds) {
        for (int i = 1; i <= seconds; ++i) {
            fake.idle = (i % 10) * 1000; // input every ten seconds
            tick();
        }
    };
    const auto away = [&](int seconds) {
        for (int i = 1; i <= seconds; ++i) {
            *fake.idle += 1000;
            tick();
        }
    };
    work(60);
    EXPECT_EQ(fake.inhibitedAsks, 0) << "nobody was away";
    fake.lock(true);
    away(120);
    fake.lock(false);
    fake.idle = 0;
    work(10);
    // The wall clock set two hours on is no suspend: only the boot clock
    // running ahead of the monotonic one is.
    fake.set(QDate(2026, 12, 7), fake.now.time().addSecs(7200));
    work(10);
    fake.suspend(3600);
    work(10);
    fake.idle = 0;
    away(400); // past the five minutes: idle from the last input
    EXPECT_GT(fake.inhibitedAsks, 0);
    fake.idle = 0;
    tick();
    app->endSession();
    const QByteArray line = contents(log("LogAway.log"));
    EXPECT_TRUE(line.startsWith("2026-12-07,09:00:00,12:")) << line.constData();
    EXPECT_TRUE(line.endsWith(",3600,120,400\r\n")) << line.constData();
}

TEST_F(ClockWindow, UnloadBeforeTheFirstTickKeepsTheRecordSixLinesLong)
{
    app->form1();
    app->endSession();
    EXPECT_EQ(contents(log("LogData.log")),
              QByteArray("\"----------\"\r\n#2026-12-07#\r\n#23:59:58#\r\n#23:59:58#\r\n\r\n\r\n"));
}

TEST_F(ClockWindow, ALogThatRefusesIsNamedAndTheSessionKeptForTheNextStart)
{
    ASSERT_TRUE(QDir().mkpath(log("Log.log"))); // a folder where the log should be
    app->form1();
    tick(3);
    app->form1().Unload(); // the user closes it: someone is there to be told
    ASSERT_EQ(fake.messages.size(), 1);
    EXPECT_TRUE(fake.messages[0].contains(log("Log.log"))) << fake.messages[0].toStdString();
    EXPECT_TRUE(fake.messages[0].contains(QLatin1String("next start"))) << fake.messages[0].toStdString();
    EXPECT_EQ(contents(log("LogData.log")).count("\"0:00:03\""), 1) << "the other log still gets it";

    EXPECT_EQ(core::session::Journal(app->journalFolders().front()).entryIds().size(), 1) << "kept for Log.log";

    // Next start, the folder is fixed: the session lands in Log.log only.
    ASSERT_TRUE(QDir(log("Log.log")).removeRecursively());
    app = std::make_unique<tocka::TockaApp>(fake, dir.filePath(QStringLiteral("state/journal")));
    app->start();
    EXPECT_EQ(contents(log("Log.log")).count("0:00:03"), 1);
    EXPECT_EQ(contents(log("LogData.log")).count("\"0:00:03\""), 1);
}

TEST_F(ClockWindow, WhileTheDesktopEndsFailuresGoToStandardErrorOnly)
{
    ASSERT_TRUE(QDir().mkpath(log("LogData.log")));
    app->form1();
    tick();
    app->endSession();
    EXPECT_TRUE(fake.messages.isEmpty()) << "no box nobody will see";
    EXPECT_EQ(core::session::Journal(app->journalFolders().front()).entryIds().size(), 1);
}

} // namespace
