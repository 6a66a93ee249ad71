// SPDX-License-Identifier: MIT
// The clock face's motion arithmetic: random draws by their mapping, bounce
// steps at the edges, drag steps with edge pull and hold, the colour cycle.

#include "core/clock/clockmotion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

using core::clock::Axis;
using core::clock::Place;

namespace {

constexpr float kScreenW = 19200;
constexpr float kScreenH = 12000;
constexpr float kBigW = 1220;
constexpr float kBigH = 275;

// How often each result comes up over an even grid of draws in [0, 1).
template<class F>
std::map<int, double> shares(F mapping, int samples = 660000)
{
    std::map<int, double> counts;
    for (int i = 0; i < samples; ++i)
        counts[mapping(static_cast<float>(i) / static_cast<float>(samples))] += 1.0 / samples;
    return counts;
}

} // namespace

TEST(BounceDraws, DirectionRoundsThreeTimesTheDrawHalfToEven)
{
    struct Row
    {
        float r;
        int direction;
    };
    const Row rows[] = {
        {0.0f, 0},
        {0.16f, 0},
        {1.0f / 6.0f, 0}, // lands on 0.5 in single precision: even neighbour
        {0.17f, 1},
        {0.4999f, 1},
        {0.5f, 2}, // 1.5 rounds to even
        {0.8f, 2},
        {5.0f / 6.0f, 2}, // 2.5 rounds to even
        {0.84f, 3},
        {std::nextafter(1.0f, 0.0f), 3},
    };
    for (const Row &row : rows)
        EXPECT_EQ(core::clock::directionFromDraw(row.r), row.direction) << "r = " << row.r;
}

TEST(BounceDraws, DirectionsComeUpOneSixthOneThirdOneThirdOneSixth)
{
    const auto s = shares([](float r) { return int(core::clock::directionFromDraw(r)); });
    ASSERT_EQ(s.size(), 4u);
    EXPECT_NEAR(s.at(0), 1.0 / 6, 1e-4);
    EXPECT_NEAR(s.at(1), 1.0 / 3, 1e-4);
    EXPECT_NEAR(s.at(2), 1.0 / 3, 1e-4);
    EXPECT_NEAR(s.at(3), 1.0 / 6, 1e-4);
}

TEST(BounceDraws, SpeedIsAWholeFifthOfTheDrawTimes65)
{
    struct Row
    {
        float r;
        int speed;
    };
    const Row rows[] = {
        {0.0f, 0},    {0.1999f, 0}, {0.2f, 65},  {0.3999f, 65}, {0.4f, 130},
        {0.6f, 195},  {0.79f, 195}, {0.8f, 260}, {std::nextafter(1.0f, 0.0f), 260},
    };
    for (const Row &row : rows)
        EXPECT_EQ(core::clock::speedFromDraw(row.r), row.speed) << "r = " << row.r;
    const auto s = shares([](float r) { return int(core::clock::speedFromDraw(r)); });
    ASSERT_EQ(s.size(), 5u);
    for (const auto &[speed, share] : s)
        EXPECT_NEAR(share, 0.2, 1e-4) << speed;
}

TEST(BounceStep, MovesThenTurnsAtTheEdges)
{
    const float room = kScreenH - kBigH; // 11725
    struct Row
    {
        const char *what;
        Axis from;
        std::int16_t speed;
        float room;
        Axis to;
    };
    const Row rows[] = {
        {"up past the top edge turns down on the same tick", {30, 2}, 65, room, {-35, 1}},
        {"and comes back on the next", {-35, 1}, 65, room, {30, 1}},
        {"landing exactly on the far limit keeps going", {room - 65, 1}, 65, room, {room, 1}},
        {"the first step beyond it turns", {room, 1}, 65, room, {room + 65, 2}},
        {"direction 3 moves up like 2", {5000, 3}, 130, room, {4870, 3}},
        {"direction 0 moves up like 2", {5000, 0}, 130, room, {4870, 0}},
        {"speed 0 stays", {5000, 1}, 0, room, {5000, 1}},
        {"a screen smaller than the window: the far edge wins", {-10, 2}, 40, -100, {-50, 2}},
        {"a speed is never changed, a direction only by an edge", {600, 2}, 260, room, {340, 2}},
    };
    for (const Row &row : rows) {
        const Axis got = core::clock::bounceStep(row.from, row.speed, row.room);
        EXPECT_EQ(got.position, row.to.position) << row.what;
        EXPECT_EQ(got.direction, row.to.direction) << row.what;
    }
}

TEST(DragStep, EdgesPullAndHoldWithTheStatedSigns)
{
    const float bottom = kScreenH - kBigH; // top of a window on the bottom edge
    const float right = kScreenW - kBigW;
    struct Row
    {
        const char *what;
        Place from;
        float dX, dY;
        Place to;
    };
    const Row rows[] = {
        {"in the open the window follows the pointer", {5000, 4000}, 300, -450, {5300, 3550}},
        {"a top of 150 is pulled to the edge at the next move", {5000, 150}, 0, 0, {5000, 0}},
        {"on the top edge 150 down holds", {5000, 0}, 0, 150, {5000, 0}},
        {"on the top edge 250 down tears off", {5000, 0}, 0, 250, {5000, 250}},
        {"on the top edge 199.5 up holds", {5000, 0}, 0, -199.5f, {5000, 0}},
        {"on the bottom edge less than 200 up holds", {5000, bottom}, 0, -150, {5000, bottom}},
        {"on the bottom edge 200 up tears off", {5000, bottom}, 0, -200, {5000, bottom - 200}},
        {"near the bottom the pull comes first", {5000, bottom - 120}, 0, 0, {5000, bottom}},
        {"left edge: pulled from 190", {190, 4000}, 0, 0, {0, 4000}},
        {"left edge: -150 beyond is pulled too", {-150, 4000}, 0, 0, {0, 4000}},
        {"right edge: 20 twips off is pulled on", {right - 20, 0}, 0, 0, {right, 0}},
        {"right edge holds 199 left", {right, 4000}, -199, 0, {right, 4000}},
        // The hold tests take the offset with the opposite sign: a window 300
        // below the top does not follow a pointer 300 further down...
        {"300 below the top, 300 down holds", {5000, 300}, 0, 300, {5000, 300}},
        {"300 below the top, 300 up moves to the edge", {5000, 300}, 0, -300, {5000, 0}},
        // ... and one 300 above the bottom does not follow 300 up.
        {"300 above the bottom, 300 up holds", {5000, bottom - 300}, 0, -300, {5000, bottom - 300}},
        {"300 right of the left edge, 300 right holds", {300, 4000}, 300, 0, {300, 4000}},
    };
    for (const Row &row : rows) {
        const Place got = core::clock::dragStep(row.from, kBigW, kBigH, kScreenW, kScreenH, row.dX, row.dY);
        EXPECT_EQ(got.left, row.to.left) << row.what;
        EXPECT_EQ(got.top, row.to.top) << row.what;
    }
}

TEST(ColourCycle, StepsThroughSixColoursThenStartsOver)
{
    struct Row
    {
        int from;
        int mode;
        std::optional<core::units::Colour> colour;
    };
    const Row rows[] = {
        {-1, 0, core::units::rgbColour(0, 192, 192)},
        {0, 1, core::units::rgbColour(0, 255, 0)},
        {1, 2, core::units::rgbColour(0, 255, 255)},
        {2, 3, core::units::rgbColour(255, 255, 0)},
        {3, 4, core::units::rgbColour(255, 200, 100)},
        {4, -1, core::units::rgbColour(255, 255, 255)}, // the last colour, then back to the start
        {5, 6, std::nullopt},              // outside the cycle: counts on, no colour
        {7, 8, std::nullopt},
        {-5, -4, std::nullopt},
        {-2, -1, std::nullopt},
        // The 16-bit limits hold instead of wrapping round.
        {32767, 32767, std::nullopt},
        {-32769, -32768, std::nullopt},
    };
    for (const Row &row : rows) {
        const core::clock::CycleStep step = core::clock::cycleStep(row.from);
        EXPECT_EQ(step.mode, row.mode) << "from " << row.from;
        EXPECT_EQ(step.colour, row.colour) << "from " << row.from;
    }
}
