// SPDX-License-Identifier: MIT
// The session clock against a wall clock that the test moves: midnight, the
// system clock set back or forward around a midnight, late ticks.

#include "core/clock/sessionclock.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace {

struct Step
{
    double advance;  // seconds the wall clock moves before the tick
    int repeat;      // how many such ticks
    bool accepted;   // whether the last of them is accepted
    const char *face;
};

struct Scenario
{
    const char *name;
    QDateTime start;
    std::vector<Step> steps;
    int dayCorrection;
};

float secondsOf(const QDateTime &t)
{
    return static_cast<float>(t.time().msecsSinceStartOfDay() / 1000.0);
}

QDateTime at(int d, int h, int m, int s)
{
    return QDateTime(QDate(2026, 12, d), QTime(h, m, s));
}

TEST(SessionClock, FollowsTheSessionAndHoldsOverClockJumps)
{
    constexpr double hour = 3600;
    const Scenario scenarios[] = {
        {"first tick replaces Time On", at(7, 9, 0, 0), {{1, 1, true, "0:00:01"}}, 0},
        {"midnight needs no special case", at(7, 23, 59, 30), {{1, 60, true, "0:01:00"}}, 0},
        {"clock set back one hour holds one tick",
         at(7, 10, 0, 0),
         {{1, 5, true, "0:00:05"}, {1 - hour, 1, false, "0:00:05"}, {1, 1, true, "0:00:06"}},
         0},
        {"clock set forward one hour holds two ticks",
         at(7, 10, 0, 0),
         {{1, 5, true, "0:00:05"}, {1 + hour, 1, false, "0:00:05"}, {1, 1, false, "0:00:05"}, {1, 1, true, "0:00:06"}},
         0},
        {"after a midnight, back one hour holds two ticks",
         at(7, 23, 59, 50),
         {{1, 18010, true, "5:00:10"}, {1 - hour, 1, false, "5:00:10"}, {1, 1, false, "5:00:10"},
          {1, 1, true, "5:00:11"}, {1, 3, true, "5:00:14"}},
         -1},
        {"after a midnight, forward one hour holds one tick",
         at(7, 23, 59, 50),
         {{1, 18010, true, "5:00:10"}, {1 + hour, 1, false, "5:00:10"}, {1, 1, true, "5:00:11"}},
         -1},
        {"clock set back across midnight",
         at(7, 23, 59, 0),
         {{1, 90, true, "0:01:30"}, {1 - hour, 1, false, "0:01:30"}, {1, 1, true, "0:01:31"}, {1, 4, true, "0:01:35"}},
         0},
        {"a tick 2.5 s late is a jump, 2.4 s is not",
         at(7, 12, 0, 0),
         {{1, 5, true, "0:00:05"}, {2.4, 1, true, "0:00:07"}, {2.5, 1, false, "0:00:07"}, {1, 1, false, "0:00:07"},
          {1, 1, true, "0:00:08"}},
         0},
        {"a day-long suspend is not session time",
         at(7, 8, 0, 0),
         {{1, 10, true, "0:00:10"}, {86400 + 30, 1, false, "0:00:10"}, {1, 1, false, "0:00:10"},
          {1, 1, true, "0:00:11"}},
         -1}, // the day that passed is taken up against DaysOn
    };

    for (const Scenario &sc : scenarios) {
        core::clock::SessionClock clock;
        QDateTime now = sc.start;
        clock.start(secondsOf(now), now.time(), now.date());
        EXPECT_FALSE(clock.ElapsedSecs.has_value()) << sc.name;
        int stepNo = 0;
        for (const Step &step : sc.steps) {
            bool accepted = false;
            for (int i = 0; i < step.repeat; ++i) {
                now = now.addMSecs(static_cast<qint64>(step.advance * 1000));
                accepted = clock.Timer1_Timer(secondsOf(now), now.date(), 1000);
            }
            EXPECT_EQ(accepted, step.accepted) << sc.name << ", step " << stepNo;
            EXPECT_EQ(clock.ClockText.toStdString(), step.face) << sc.name << ", step " << stepNo;
            ++stepNo;
        }
        EXPECT_EQ(clock.DayCorrection, sc.dayCorrection) << sc.name;
    }
}

TEST(SessionClock, KeepsTheFractionOfTheTimerReading)
{
    core::clock::SessionClock clock;
    clock.start(100.25f, QTime(0, 1, 40), QDate(2026, 12, 7));
    ASSERT_TRUE(clock.Timer1_Timer(101.7109375f, QDate(2026, 12, 7), 1000));
    EXPECT_DOUBLE_EQ(*clock.ElapsedSecs, 1.4609375);
    EXPECT_EQ(clock.StartTime, QTime(0, 1, 40));
}

TEST(SessionClock, ALongerIntervalWidensTheAcceptanceWindow)
{
    core::clock::SessionClock clock;
    clock.start(0, QTime(0, 0, 0), QDate(2026, 12, 7));
    EXPECT_TRUE(clock.Timer1_Timer(5.0f, QDate(2026, 12, 7), 5000));   // I = 5: up to 6.5 s
    EXPECT_FALSE(clock.Timer1_Timer(12.0f, QDate(2026, 12, 7), 5000)); // 7 s later
}

TEST(ClockFace, HoursUnpaddedAndUnboundedFractionsDropped)
{
    const std::pair<double, const char *> rows[] = {
        {0, "0:00:00"},     {59.999, "0:00:59"},   {309, "0:05:09"},         {3599.99, "0:59:59"},
        {3600, "1:00:00"},  {3723.46, "1:02:03"},  {90061, "25:01:01"},      {97389, "27:03:09"},
        {360000, "100:00:00"},
    };
    for (const auto &[seconds, face] : rows)
        EXPECT_EQ(core::clock::clockFaceText(seconds).toStdString(), face) << seconds;

    core::clock::SessionClock clock;
    clock.ElapsedSecs = 97389;
    clock.FormatClockFace();
    EXPECT_EQ(clock.ClockHours, 27);
    EXPECT_EQ(clock.ClockMinutes, QStringLiteral("03"));
    EXPECT_EQ(clock.ClockSeconds, QStringLiteral("09"));
}

} // namespace
