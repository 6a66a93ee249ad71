// SPDX-License-Identifier: MIT
// The fake platform's clocks behave as a machine's do, since the away
// accounting's tests rely on them: time passing moves every clock, a suspend
// all but the monotonic one, a clock setting only the wall clock.

#include "support/fakeplatform.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(FakePlatform, ClocksMoveAsTimePassingSleepOrAClockSettingMoveThem)
{
    struct Row
    {
        const char *what;
        std::function<void(FakePlatform &)> act;
        qint64 wallMs, monotonicMs, bootMs;
    };
    const Row rows[] = {
        {"time passing", [](FakePlatform &p) { p.advance(2.5); }, 2500, 2500, 2500},
        {"asleep", [](FakePlatform &p) { p.suspend(600); }, 600'000, 0, 600'000},
        {"the clock set back", [](FakePlatform &p) { p.advance(-3600); }, -3'600'000, 0, 0},
        {"the clock set", [](FakePlatform &p) { p.set(QDate(2026, 12, 7), QTime(10, 0)); }, 3'600'000, 0, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        FakePlatform p;
        const QDateTime wall = p.now;
        const qint64 monotonic = p.monotonicMs(), boot = p.bootMs();
        row.act(p);
        EXPECT_EQ(wall.msecsTo(p.now), row.wallMs);
        EXPECT_EQ(p.monotonicMs() - monotonic, row.monotonicMs);
        EXPECT_EQ(p.bootMs() - boot, row.bootMs);
    }
}

} // namespace
