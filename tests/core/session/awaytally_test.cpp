// SPDX-License-Identifier: MIT
// Time away, second by second, over a simulated machine: its two clocks,
// the last input, the screen lock and idle inhibitors, read at one-second
// ticks the way the clock window reads them.

#include "core/session/awaytally.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using core::session::AwaySeconds;
using core::session::AwayTally;

class Machine
{
public:
    explicit Machine(double idleMinutes = 5, bool lockedAtStart = false, qint64 idleBeforeStartMs = 0)
        : threshold_(static_cast<qint64>(idleMinutes * 60000))
    {
        lastInput_ = monotonic_ - idleBeforeStartMs;
        tally.start(monotonic_, boot_, lockedAtStart);
    }

    // Seconds of ticks, with input every `inputEvery` seconds (0: none).
    void run(int seconds, int inputEvery = 0)
    {
        for (int i = 1; i <= seconds; ++i) {
            monotonic_ += 1000;
            boot_ += 1000;
            if (inputEvery && i % inputEvery == 0)
                input();
            tick();
        }
    }
    void tick()
    {
        AwayTally::Reading r{monotonic_, boot_, tally.wantsIdleAt(monotonic_), {}, inhibited};
        if (r.idleRead) {
            ++idleReads;
            if (desktopKnowsIdle)
                r.idleMs = monotonic_ - lastInput_;
        }
        tally.tick(r, threshold_);
    }
    void input() { lastInput_ = monotonic_; }
    // The last reading, as the session ends: the idle time too while a
    // stretch goes on.
    void close()
    {
        AwayTally::Reading r{monotonic_, boot_, tally.idleStretch(), monotonic_ - lastInput_, inhibited};
        tally.tick(r, threshold_);
    }
    // Suspended: the boot-time clock runs on, the monotonic clock stops.
    void suspend(int seconds) { boot_ += seconds * 1000LL; }
    void lock() { tally.setLocked(true, monotonic_); }
    void unlock()
    {
        tally.setLocked(false, monotonic_);
        input(); // a password was typed
    }

    AwayTally tally;
    std::optional<bool> inhibited = false;
    bool desktopKnowsIdle = true;
    int idleReads = 0;

private:
    qint64 threshold_;
    qint64 monotonic_ = 5'000'000;
    qint64 boot_ = 7'000'000;
    qint64 lastInput_ = 0;
};

TEST(AwayTally, EachSecondAwayCountsOnceUnderItsFirstCause)
{
    struct Row
    {
        const char *what;
        std::function<void(Machine &)> live;
        AwaySeconds expected;
        double idleMinutes = 5;
        bool lockedAtStart = false;
        qint64 idleBeforeStartMs = 0;
    };
    const Row rows[] = {
        {"at work throughout", [](Machine &m) { m.run(3600, 10); }, {0, 0, 0}},
        {"no input for ten minutes: idle from the last input, not from the threshold",
         [](Machine &m) { m.run(600); m.input(); m.run(60, 10); }, {0, 0, 600}},
        {"an idle stretch cut by input just before the threshold", [](Machine &m) { m.run(299); m.input(); m.run(299); },
         {0, 0, 0}},
        {"idle stretches, cut by input, each from its last input",
         [](Machine &m) { m.run(400); m.input(); m.run(30, 10); m.run(350); m.input(); }, {0, 0, 750}},
        {"locked for five minutes", [](Machine &m) { m.run(10, 5); m.lock(); m.run(300); m.unlock(); m.run(60, 10); },
         {0, 300, 0}},
        {"locked for twenty minutes: locked, not idle",
         [](Machine &m) { m.run(10, 5); m.lock(); m.run(1200); m.unlock(); m.run(60, 10); }, {0, 1200, 0}},
        // While nobody is there the idle time is read every five seconds: the
        // last few seconds of a stretch before a lock (or an input) are not
        // known to be idle.
        {"idle, then locked by a program, then idle on",
         [](Machine &m) { m.run(200); m.lock(); m.run(100); m.tally.setLocked(false, 0); m.run(300); },
         {0, 100, 496}},
        {"suspended while locked: asleep, and locked only while awake",
         [](Machine &m) { m.run(10, 5); m.lock(); m.run(5); m.suspend(14 * 3600); m.run(5); m.unlock(); m.run(10, 5); },
         {14 * 3600, 10, 0}},
        {"suspended overnight while at work", [](Machine &m) { m.run(60, 10); m.suspend(8 * 3600); m.run(60, 10); },
         {8 * 3600, 0, 0}},
        {"suspended while idle: asleep, and idle only while awake",
         [](Machine &m) { m.run(400); m.suspend(3600); m.run(100); m.input(); m.run(10, 5); }, {3600, 0, 500}},
        {"the session starts while locked", [](Machine &m) { m.run(100); m.unlock(); m.run(60, 10); }, {0, 100, 0}, 5,
         true},
        {"the session ends while asleep: the last reading takes it", [](Machine &m) { m.run(10, 5); m.suspend(3600); m.tick(); },
         {3600, 0, 0}},
        {"a film: idleness held off", [](Machine &m) { m.inhibited = true; m.run(1200); m.input(); m.run(10, 5); },
         {0, 0, 0}},
        {"the inhibitors' answer comes late: counted from the last input all the same",
         [](Machine &m) { m.inhibited.reset(); m.run(400); m.inhibited = false; m.run(200); m.input(); }, {0, 0, 596}},
        {"locked before the inhibitors answer: idle up to the lock",
         [](Machine &m) { m.inhibited.reset(); m.run(300); m.lock(); m.run(60); m.inhibited = false; m.unlock(); m.run(60, 10); },
         {0, 60, 300}},
        {"back before the inhibitors answer: idle up to the input once they do",
         [](Machine &m) { m.inhibited.reset(); m.run(300); m.inhibited = false; m.input(); m.run(60, 10); }, {0, 0, 300}},
        {"idle counted only after the film ends",
         [](Machine &m) { m.inhibited = true; m.run(600); m.inhibited = false; m.run(120); m.input(); }, {0, 0, 120}},
        {"idle not counted (threshold 0)", [](Machine &m) { m.run(1200); m.lock(); m.run(60); m.unlock(); }, {0, 60, 0}, 0},
        {"a threshold of half a minute", [](Machine &m) { m.run(100); m.input(); m.run(29); m.input(); }, {0, 0, 100},
         0.5},
        {"a desktop that tells no idle time: locked and asleep still count",
         [](Machine &m) { m.desktopKnowsIdle = false; m.run(1200); m.lock(); m.run(60); m.unlock(); m.suspend(60); m.run(1); },
         {60, 60, 0}},
        {"idle since before the session: counted from its start", [](Machine &m) { m.run(120); m.input(); }, {0, 0, 116},
         5, false, 10 * 60000},
        {"the session ends while idle: the last reading closes the stretch", [](Machine &m) { m.run(402); m.close(); },
         {0, 0, 402}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        Machine m(row.idleMinutes, row.lockedAtStart, row.idleBeforeStartMs);
        row.live(m);
        EXPECT_EQ(m.tally.seconds().asleep, row.expected.asleep);
        EXPECT_EQ(m.tally.seconds().locked, row.expected.locked);
        EXPECT_EQ(m.tally.seconds().idle, row.expected.idle);
    }
}

// While someone works, the desktop is asked for the idle time only when a
// stretch could have reached the threshold since: a few times an hour, not
// at every tick.
TEST(AwayTally, AtWorkTheIdleTimeIsReadAFewTimesAnHourAwayEveryFewSecondsLockedNever)
{
    Machine m;
    m.run(3600, 7);
    EXPECT_LE(m.idleReads, 14);
    EXPECT_GE(m.idleReads, 11);
    m.idleReads = 0;
    m.run(3600); // the stretch is found at once: the last input was seven seconds ago at most
    EXPECT_LE(m.idleReads, 3600 / 5 + 1);
    m.idleReads = 0;
    m.lock();
    m.run(3600);
    EXPECT_EQ(m.idleReads, 0);
}

} // namespace
