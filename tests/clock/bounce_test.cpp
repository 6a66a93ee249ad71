// SPDX-License-Identifier: MIT
// Bouncing in the clock window: reseeding before the draws, draws only for
// what is unchosen, the speeds shown in the settings window, X moving Top,
// and the click that stops it landing though the face moved on meanwhile.

#include "clock/tockafixture.h"
#include "core/units/twips.h"

#include <QStringList>

namespace {

// Records the order of reseeds and draws.
class OrderPlatform : public FakePlatform
{
public:
    QStringList calls;
    void randomize(float seed) override
    {
        calls << QStringLiteral("seed");
        FakePlatform::randomize(seed);
    }
    float rnd() override
    {
        calls << QStringLiteral("draw");
        return FakePlatform::rnd();
    }
};

class Bounce : public TockaFixture
{
protected:
    void place(float left, float top, std::int16_t dirX, std::int16_t speedX, std::int16_t dirY, std::int16_t speedY)
    {
        clockwindow::Form1 &c = clock();
        c.setLeft(left);
        c.setTop(top);
        c.DirX = dirX;
        c.SpeedX = speedX;
        c.DirY = dirY;
        c.SpeedY = speedY;
    }
};

} // namespace

TEST_F(Bounce, FirstTickDrawsBothDirectionsThenBothSpeedsAndShowsTheSpeeds)
{
    place(6000, 5000, 0, 0, 0, 0);
    // DirX 3 (up), DirY 1 (right), SpeedX 65, SpeedY 195.
    fake.randomValues = {0.9f, 0.3f, 0.25f, 0.65f, 0.99f};
    clock().Bounce_Timer();
    EXPECT_EQ(clock().DirX, 3);
    EXPECT_EQ(clock().DirY, 1);
    EXPECT_EQ(clock().SpeedX, 65);
    EXPECT_EQ(clock().SpeedY, 195);
    EXPECT_EQ(clock().Top(), 5000 - 65);
    EXPECT_EQ(clock().Left(), 6000 + 195);
    EXPECT_EQ(settings().BunXM.Text(), QStringLiteral("65"));
    EXPECT_EQ(settings().BunYM.Text(), QStringLiteral("195"));
    EXPECT_EQ(fake.randomValues.size(), 1u) << "exactly four draws";
}

TEST_F(Bounce, ReseedsFromTheClockBeforeEveryDraw)
{
    OrderPlatform order;
    order.set(QDate(2026, 12, 7), QTime(10, 0, 0, 500));
    tocka::TockaApp own(order, folder.filePath(QStringLiteral("own-checkpoint")));
    clockwindow::Form1 &c = own.form1();
    own.FrmSetting(); // loaded first, so only the tick's own calls are counted
    c.DirX = c.DirY = 0;
    c.SpeedX = c.SpeedY = 0;
    order.calls.clear();
    order.seeds.clear();
    c.Bounce_Timer();
    EXPECT_EQ(order.calls, (QStringList{"seed", "draw", "draw", "draw", "draw"}));
    ASSERT_EQ(order.seeds.size(), 1u);
    EXPECT_EQ(order.seeds.front(), 36000.5f);

    // Nothing unchosen: the tick still reseeds, and draws nothing.
    c.DirX = c.DirY = 1;
    c.SpeedX = c.SpeedY = 65;
    order.calls.clear();
    c.Bounce_Timer();
    EXPECT_EQ(order.calls, QStringList{"seed"});
}

TEST_F(Bounce, DrawsOnlyTheMissingSpeedAndMovesWithBothOnTheSameTick)
{
    place(6000, 5000, 1, 0, 1, 130);
    settings().BunYM.setTextFromCode(QStringLiteral("untouched"));
    fake.randomValues = {0.5f, 0.99f}; // 0.5 * 5 -> 2 -> 130
    clock().Bounce_Timer();
    EXPECT_EQ(clock().SpeedX, 130);
    EXPECT_EQ(settings().BunXM.Text(), QStringLiteral("130"));
    EXPECT_EQ(settings().BunYM.Text(), QStringLiteral("untouched"));
    EXPECT_EQ(clock().Top(), 5130);
    EXPECT_EQ(clock().Left(), 6130);
    EXPECT_EQ(fake.randomValues.size(), 1u);
}

TEST_F(Bounce, TurnsAtEachEdgeOfTheScreenItIsOn)
{
    const float sw = static_cast<float>(fake.screen.width());
    const float sh = static_cast<float>(fake.screen.height());
    struct Row
    {
        const char *what;
        float left, top;
        std::int16_t dirX, dirY;
        float toLeft, toTop;
        std::int16_t toDirX, toDirY;
    };
    const float w = clock().Width();
    const float h = clock().Height();
    const Row rows[] = {
        {"top-left corner", 30, 30, 2, 2, -35, -35, 1, 1},
        {"bottom-right corner", sw - w, sh - h, 1, 1, sw - w + 65, sh - h + 65, 2, 2},
        {"exactly on the far limits keeps going", sw - w - 65, sh - h - 65, 1, 1, sw - w, sh - h, 1, 1},
        {"open screen", 9000, 6000, 3, 1, 9065, 5935, 3, 1},
    };
    for (const Row &row : rows) {
        place(row.left, row.top, row.dirX, 65, row.dirY, 65);
        clock().Bounce_Timer();
        EXPECT_EQ(clock().Left(), row.toLeft) << row.what;
        EXPECT_EQ(clock().Top(), row.toTop) << row.what;
        EXPECT_EQ(clock().DirX, row.toDirX) << row.what;
        EXPECT_EQ(clock().DirY, row.toDirY) << row.what;
    }
}

TEST_F(Bounce, ADrawnSpeedLoadsAClosedSettingsWindowHidden)
{
    settings().Unload();
    ASSERT_FALSE(app->isFrmSettingLoaded());
    place(6000, 5000, 1, 0, 1, 65);
    fake.randomValues = {0.99f};
    clock().Bounce_Timer();
    ASSERT_TRUE(app->isFrmSettingLoaded());
    EXPECT_FALSE(settings().isVisible());
    EXPECT_EQ(settings().BunXM.Text(), QStringLiteral("260"));
}

TEST_F(Bounce, TheTimerRunsTheTickAndAZeroIntervalNeverFires)
{
    place(6000, 5000, 1, 65, 1, 65);
    ASSERT_TRUE(clock().Bounce.onTimer);
    clock().Bounce.onTimer();
    EXPECT_EQ(clock().Top(), 5065);
    EXPECT_EQ(clock().Left(), 6065);

    clock().Bounce.setEnabled(true);
    EXPECT_TRUE(clock().Bounce.isTicking());
    clock().Bounce.setInterval(0);
    EXPECT_TRUE(clock().Bounce.Enabled());
    EXPECT_FALSE(clock().Bounce.isTicking());
}

TEST_F(Bounce, AClickStopsItThoughTheWindowMovedFromUnderThePointer)
{
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        settings().hide();
        showClockAt(3000, 3000);
        place(3000, 3000, 1, 260, 1, 195);
        clock().Bounce.setEnabled(true);
        forms::LabelControl &face = clock().Label1;
        const QPoint pressed(10, 8);
        QTest::mousePress(&face, button, {}, pressed);
        // Two ticks before the button comes up: the face has left the pointer.
        clock().Bounce_Timer();
        clock().Bounce_Timer();
        const QPoint moved(core::units::twipsToPixels(clock().Left() - 3000),
                           core::units::twipsToPixels(clock().Top() - 3000));
        ASSERT_GT(moved.y(), face.height());
        QTest::mouseRelease(&face, button, {}, pressed - moved);
        EXPECT_FALSE(clock().Bounce.Enabled()) << button;
        EXPECT_EQ(settings().isVisible(), button == Qt::RightButton) << button;
    }
}
