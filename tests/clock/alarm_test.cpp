// SPDX-License-Identifier: MIT
// The break alarm: the countdown text, the elapsed seconds across midnight,
// and the clock window's ticks and five seconds of beeping over a fake clock
// that the beep loop itself moves on.

#include "clock/tockafixture.h"
#include "core/clock/alarmcount.h"

#include <QCoreApplication>

#include <optional>

// ---- The arithmetic ----

TEST(AlarmCount, ElapsedSecondsRunAcrossMidnightAndRoundHalfToEven)
{
    struct Row
    {
        qint64 days;
        float now, start;
        std::int32_t seconds;
    };
    const Row rows[] = {
        {0, 32402, 32400, 2},
        {1, 300, 86100, 600}, // 23:55 to 00:05
        {2, 0, 0, 172800},
        {0, 2.5f, 0, 2},
        {0, 3.5f, 0, 4},
        {0, 100, 200, -100},
    };
    for (const Row &row : rows)
        EXPECT_EQ(core::clock::alarmElapsedSeconds(row.days, row.now, row.start), row.seconds)
            << row.days << " " << row.now << " " << row.start;
}

TEST(AlarmCount, PeriodLengthsReadAsNumbersOrNotAtAll)
{
    struct Row
    {
        const char *text;
        char point;
        std::optional<double> minutes;
    };
    const Row rows[] = {
        {"20", '.', 20},     {"19.5", '.', 19.5}, {" 7 ", '.', 7},       {"-3", '.', -3},
        {"", '.', {}},       {".", '.', {}},      {"1.2.3", '.', {}},    {"abc", '.', {}},
        {"19,5", ',', 19.5}, {"19.5", ',', 19.5}, {"19,5", '.', {}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(core::clock::parseAlarmMinutes(QString::fromLatin1(row.text), QLatin1Char(row.point)), row.minutes)
            << row.text;
}

TEST(AlarmCount, TheCountdownFillsTheBoxWithoutChangingTheNumber)
{
    struct Row
    {
        double minutes;
        char point;
        const char *text;
    };
    const Row rows[] = {
        {20 - 2 / 60.0, '.', "19.9666666666667"},
        {19.5, '.', "19.50000"},
        {18, '.', "18.00000"},
        {0, '.', "0.000000"},
        {-5, '.', "-5.00000"},
        {-0.5, '.', "-0.50000"},
        {123456, '.', "123456.0"},
        {1234567, '.', "1234567"},
        {12345678, '.', "12345678"},
        {123456789, '.', "123456789"},
        {1e-5, '.', "1E-05"},
        {19.5, ',', "19,50000"},
        {18, ',', "18,00000"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(core::clock::alarmCountdownText(row.minutes, 8, QLatin1Char(row.point)), QLatin1String(row.text))
            << row.minutes;

    // Whatever the box shows reads back as the minutes it shows.
    for (const char point : {'.', ','}) {
        for (double m = -30; m <= 1440; m += 0.5) {
            const QString text = core::clock::alarmCountdownText(m, 8, QLatin1Char(point));
            EXPECT_EQ(core::clock::parseAlarmMinutes(text, QLatin1Char(point)), m) << text.toStdString();
        }
    }
}

// ---- The clock window's alarm ----

namespace {

class Alarm : public TockaFixture
{
protected:
    void SetUp() override
    {
        TockaFixture::SetUp();
        fake.set(QDate(2026, 12, 7), QTime(9, 0, 0));
        fake.onProcessPendingEvents = [this] { fake.advance(waitStep); };
    }

    void startPeriod(const QString &length)
    {
        settings().tockUntil.setTextFromCode(length);
        clock().InitAlarm();
        periodStart = fake.now;
    }

    // A tick `seconds` after the period began.
    void tickAt(double seconds)
    {
        fake.now = periodStart.addMSecs(static_cast<qint64>(seconds * 1000));
        clock().TockaAlarmTimer_Timer();
    }

    QString until() { return settings().tockUntil.Text(); }
    QString warn() { return settings().WARN.Text(); }

    double waitStep = 0.1; // how far the clock moves while the beep loop waits
    QDateTime periodStart;
};

} // namespace

TEST_F(Alarm, EachTickShowsTheMinutesAndSecondsLeft)
{
    struct Row
    {
        double at;
        std::int32_t elapsed;
        const char *until;
        const char *warn;
    };
    const Row rows[] = {
        {2, 2, "19.9666666666667", "1198"},
        {30, 30, "19.50000", "1170"},
        {120, 120, "18.00000", "1080"},
        {1199.4, 1199, "0.01666666666666", "1"}, // as long as it is: not padded
    };
    startPeriod(QStringLiteral("20"));
    for (const Row &row : rows) {
        tickAt(row.at);
        EXPECT_EQ(clock().AlarmElapsedSecs, row.elapsed) << row.at;
        EXPECT_TRUE(until().startsWith(QLatin1String(row.until))) << row.at << " " << until().toStdString();
        EXPECT_EQ(warn(), QLatin1String(row.warn)) << row.at;
    }
    EXPECT_EQ(fake.beeps, 0);
}

TEST_F(Alarm, ThePeriodRunningOutBeepsFiveSecondsAndStartsTheNextPeriod)
{
    settings().AlarmInterval.setTextFromCode(QStringLiteral("20"));
    startPeriod(QStringLiteral("20"));
    tickAt(1200);
    EXPECT_EQ(fake.beeps, 10) << "a beep every half second";
    EXPECT_EQ(fake.pendingEventRuns, 50) << "events ran while it beeped";
    EXPECT_FALSE(clock().alarmBeeping());
    EXPECT_EQ(until(), QStringLiteral("20"));
    EXPECT_EQ(warn(), QStringLiteral("0")) << "the new length less the seconds of the period just ended";
    EXPECT_EQ(clock().AlarmStartTimer, 9 * 3600 + 1200);

    // The five seconds of beeping belong to the new period.
    fake.advance(2);
    clock().TockaAlarmTimer_Timer();
    EXPECT_EQ(clock().AlarmElapsedSecs, 7);
    EXPECT_EQ(warn(), QStringLiteral("1193"));
}

TEST_F(Alarm, APeriodEndsOnTimeAcrossMidnight)
{
    fake.set(QDate(2026, 12, 7), QTime(23, 55, 0));
    startPeriod(QStringLiteral("10"));
    fake.set(QDate(2026, 12, 8), QTime(0, 4, 58));
    clock().TockaAlarmTimer_Timer();
    EXPECT_EQ(clock().AlarmElapsedSecs, 598);
    EXPECT_EQ(fake.beeps, 0);
    fake.set(QDate(2026, 12, 8), QTime(0, 5, 0));
    clock().TockaAlarmTimer_Timer();
    EXPECT_EQ(clock().AlarmElapsedSecs, 600);
    EXPECT_EQ(fake.beeps, 10);
}

TEST_F(Alarm, AZeroPeriodAlarmsOnItsFirstTick)
{
    startPeriod(QStringLiteral("0"));
    tickAt(2);
    EXPECT_EQ(fake.beeps, 10);
}

TEST_F(Alarm, ANewIntervalAppliesFromTheNextPeriod)
{
    settings().AlarmInterval.setTextFromCode(QStringLiteral("20"));
    startPeriod(QStringLiteral("20"));
    tickAt(600);
    settings().AlarmInterval.setTextFromCode(QStringLiteral("30"));
    tickAt(1199);
    EXPECT_EQ(fake.beeps, 0);
    tickAt(1200);
    EXPECT_EQ(fake.beeps, 10);
    EXPECT_EQ(until(), QStringLiteral("30"));
    fake.advance(60); // 65 s into the 30-minute period
    clock().TockaAlarmTimer_Timer();
    EXPECT_EQ(warn(), QStringLiteral("1735"));
}

TEST_F(Alarm, TheBeepsKeepTheirPaceHoweverLongEachWaitTakes)
{
    struct Row
    {
        double step;
        int beeps;
        int runs;
    };
    // Steps that land exactly in single precision, so the half-second marks are hit or missed for sure.
    const Row rows[] = {{0.1, 10, 50}, {0.25, 10, 20}, {0.75, 7, 7}, {2.0, 3, 3}};
    for (const Row &row : rows) {
        waitStep = row.step;
        fake.beeps = 0;
        fake.pendingEventRuns = 0;
        startPeriod(QStringLiteral("0"));
        tickAt(1);
        EXPECT_EQ(fake.beeps, row.beeps) << row.step;
        EXPECT_EQ(fake.pendingEventRuns, row.runs) << row.step;
    }
}

TEST_F(Alarm, ATickInsideTheBeepingRaisesNoSecondAlarm)
{
    settings().AlarmInterval.setTextFromCode(QStringLiteral("0")); // the new period is over at once
    startPeriod(QStringLiteral("0"));
    int nested = 0;
    fake.onProcessPendingEvents = [&] {
        fake.advance(0.1);
        if (fake.pendingEventRuns == 10) {
            EXPECT_TRUE(clock().alarmBeeping());
            clock().TockaAlarmTimer_Timer();
            ++nested;
        }
    };
    tickAt(2);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(fake.beeps, 10);
    EXPECT_EQ(fake.pendingEventRuns, 50);
    EXPECT_FALSE(clock().alarmBeeping());
}

TEST_F(Alarm, TheBeepingEndsEarlyWhenTheClockGoesBackOrTheWindowGoes)
{
    enum What { ClockBack, Unloaded, Deleted };
    struct Row
    {
        const char *what;
        What happens;
    };
    const Row rows[] = {{"clock set back", ClockBack}, {"window closed", Unloaded}, {"window deleted", Deleted}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        fake.beeps = 0;
        fake.pendingEventRuns = 0;
        clockwindow::Form1 *window = &clock();
        startPeriod(QStringLiteral("0"));
        fake.onProcessPendingEvents = [&] {
            fake.advance(0.1);
            if (fake.pendingEventRuns != 5)
                return;
            if (row.happens == ClockBack) {
                fake.advance(-3600);
            } else {
                window->Unload();
                if (row.happens == Deleted)
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
        };
        window->TockaAlarmTimer_Timer();
        EXPECT_EQ(fake.pendingEventRuns, 5);
        EXPECT_EQ(fake.beeps, 1) << "the next beep was due after the fifth wait";
        EXPECT_EQ(app->isForm1Loaded(), row.happens == ClockBack);
    }
}

TEST_F(Alarm, ALengthThatIsNoNumberKeepsTheLastOne)
{
    // Switched on with an emptied box: the 20 minutes it ran before stand.
    for (const char *text : {"", ".", "1.2.3"}) {
        startPeriod(QStringLiteral("20"));
        startPeriod(QString::fromLatin1(text));
        tickAt(60);
        EXPECT_EQ(until(), QStringLiteral("19.00000")) << text;
    }
    // An emptied interval at the alarm: the next period is as long as the last.
    settings().AlarmInterval.setTextFromCode(QString());
    startPeriod(QStringLiteral("10"));
    tickAt(600);
    EXPECT_EQ(fake.beeps, 10);
    EXPECT_EQ(until(), QString());
    fake.advance(60);
    clock().TockaAlarmTimer_Timer();
    EXPECT_EQ(warn(), QStringLiteral("535"));
}

TEST_F(Alarm, AWholeNumberLeftReadsBackAsTheSameMinutes)
{
    startPeriod(QStringLiteral("20"));
    tickAt(120);
    ASSERT_EQ(until(), QStringLiteral("18.00000"));
    startPeriod(until()); // switched off and on again
    tickAt(60);
    EXPECT_EQ(until(), QStringLiteral("17.00000"));
}
