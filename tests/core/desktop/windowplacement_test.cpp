// SPDX-License-Identifier: MIT
// Where a window opened from another goes, over a table of openers and
// screens: beside the opener where a side has room, narrowed where it must
// be, on the opener's screen, and where no side has room, covering the
// least of it.

#include "core/desktop/windowplacement.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowPlacement, BesideTheOpenerOrCoveringTheLeastOfIt)
{
    struct Row
    {
        const char *name;
        QRect opener;
        QSize preferred;
        QSize minimum;
        QRect area;
        QRect place;
    };
    const QRect laptop(0, 0, 1280, 800);
    const QSize history(960, 560);
    const QSize small(688, 253);
    const QRect centred(496, 254, 289, 317);
    const Row rows[] = {
        {"room on the right", {0, 100, 300, 300}, history, small, laptop, {308, 100, 960, 560}},
        {"room on both sides: the right", {400, 100, 200, 200}, {300, 300}, {100, 100}, laptop, {608, 100, 300, 300}},
        {"room on the left only", {980, 100, 300, 300}, history, small, laptop, {12, 100, 960, 560}},
        {"level with the opener, kept on the screen", {0, 500, 300, 300}, history, small, laptop, {308, 240, 960, 560}},
        {"the area below a panel", {0, 0, 300, 300}, history, small, {0, 32, 1280, 768}, {308, 32, 960, 560}},
        {"no side has room: below", {160, 0, 960, 200}, history, small, laptop, {160, 208, 960, 560}},
        {"nowhere whole: narrowed where most room is", centred, history, {480, 260}, laptop, {0, 240, 488, 560}},
        {"a small screen: narrowed beside rather than below", {0, 0, 300, 300}, history, small, {0, 0, 1024, 768},
         {308, 0, 716, 560}},
        {"larger than the screen", {100, 100, 300, 300}, {1440, 840}, small, laptop, {408, 0, 872, 800}},
        // Too low for a side with the gap; at the top without it, covering
        // nothing, and grown to the full width.
        {"no room with the gap: touching, then grown", centred, history, {674, 250}, laptop, {320, 0, 960, 254}},
        // Every place covers part of the opener: at the top left, 204 x 46
        // of it, the least.
        {"no room even when small: the least covered", centred, history, {700, 300}, laptop, {0, 0, 700, 300}},
        {"the opener fills the screen", laptop, history, small, laptop, {592, 0, 688, 253}},
        {"on the second screen", {1300, 100, 300, 300}, history, small, {1280, 0, 1920, 1080}, {1608, 100, 960, 560}},
        {"on a screen left of the first", {-400, 100, 300, 300}, history, small, {-1920, 0, 1920, 1080},
         {-1368, 100, 960, 560}},
    };
    for (const Row &row : rows) {
        const QRect place = core::desktop::placeBeside(row.opener, row.preferred, row.minimum, row.area);
        EXPECT_EQ(place, row.place) << row.name;
        EXPECT_TRUE(row.area.contains(place)) << row.name;
    }
}

} // namespace
