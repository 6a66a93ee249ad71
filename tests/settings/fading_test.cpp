// SPDX-License-Identifier: MIT
// Colour fading: the worked fades, the mapping of draws to targets, the
// divisor for odd magnitudes, and what a tick paints.

#include "clock/tockafixture.h"
#include "core/clock/colourfade.h"

#include <cmath>
#include <deque>
#include <map>

namespace {

float drawFor(int target)
{
    return (static_cast<float>(target) - 0.5f) / 255.0f;
}

// Runs `ticks` ticks; the draws come from `targets` (red, green, blue, ...).
void run(core::clock::ColourFade &fade, int ticks, double divisor, std::deque<int> targets = {})
{
    for (int i = 0; i < ticks; ++i) {
        fade.tick(divisor, [&] {
            const int t = targets.empty() ? 1 : targets.front();
            if (!targets.empty())
                targets.pop_front();
            return drawFor(t);
        });
    }
}

// A fade that is about to draw its next targets, from the given colour.
core::clock::ColourFade at(double red, double green, std::int16_t blue)
{
    core::clock::ColourFade f;
    f.counter = 19;
    f.red = red;
    f.green = green;
    f.blue = blue;
    return f;
}

} // namespace

TEST(ColourFade, FromBlackTowards200_100_50)
{
    core::clock::ColourFade f;
    run(f, 19, 20);
    EXPECT_EQ(f.colour(), core::units::rgbColour(0, 0, 0)) << "black until the first target";
    EXPECT_EQ(f.counter, 19);
    run(f, 1, 20, {200, 100, 50});
    EXPECT_EQ(f.red, 10);
    EXPECT_EQ(f.green, 5);
    EXPECT_EQ(f.blue, 2) << "2.5 rounds to even";
    run(f, 19, 20);
    EXPECT_EQ(f.colour(), core::units::rgbColour(200, 100, 40)) << "blue gains 2 at every step";
}

TEST(ColourFade, BlueStepsBelowAHalfNeverMoveIt)
{
    core::clock::ColourFade f = at(100, 100, 100);
    run(f, 1, 20, {100, 100, 105});
    for (int i = 0; i < 19; ++i) {
        EXPECT_EQ(f.blue, 100);
        run(f, 1, 20);
    }
    EXPECT_EQ(f.blue, 100);
}

TEST(ColourFade, ASmallMagnitudeOvershootsAndShowsAsFull)
{
    core::clock::ColourFade f = at(10, 0, 0);
    run(f, 20, 10, {250, 1, 1});
    EXPECT_DOUBLE_EQ(f.red, 490);
    EXPECT_EQ(f.colour() & 0xFF, 255);
}

TEST(ColourFade, APastedFractionalMagnitudeStaysInRange)
{
    // A divisor of 0.01 overshoots to about 500000: past the 16-bit blue.
    core::clock::ColourFade f;
    std::deque<int> targets;
    for (int i = 0; i < 30; ++i)
        targets.push_back(i % 2 ? 255 : 1);
    run(f, 200, 0.01, targets);
    for (const double channel : {f.red, f.green, static_cast<double>(f.blue)}) {
        EXPECT_TRUE(std::isfinite(channel));
        EXPECT_GE(channel, 0);
        EXPECT_LE(channel, 32767);
    }
    EXPECT_EQ(f.colour(), core::units::rgbColour(255, 255, 255));
}

TEST(ColourFade, TargetsAreOneTo255EachEquallyLikely)
{
    EXPECT_EQ(core::clock::ColourFade::targetFromDraw(0), 1);
    EXPECT_EQ(core::clock::ColourFade::targetFromDraw(std::nextafter(1.0f, 0.0f)), 255);
    std::map<int, int> counts;
    const int samples = 255 * 400;
    for (int i = 0; i < samples; ++i)
        ++counts[core::clock::ColourFade::targetFromDraw(static_cast<float>(i) / samples)];
    ASSERT_EQ(counts.size(), 255u);
    for (const auto &[target, n] : counts)
        EXPECT_NEAR(n, 400, 2) << target;
}

TEST(ColourFade, TheDivisorFallsBackTo20WhereItCannotDivide)
{
    const struct
    {
        const char *text;
        double divisor;
    } rows[] = {{"20", 20}, {"10", 10}, {"5", 5}, {"", 20}, {"0", 20}, {"00", 20}, {"abc", 20}};
    for (const auto &row : rows)
        EXPECT_EQ(core::clock::ColourFade::divisor(QString::fromLatin1(row.text), QLatin1Char('.')), row.divisor) << row.text;
}

TEST(ColourFade, TheTextTakesTheDistanceFromTheContrastOffset)
{
    core::clock::ColourFade f = at(10.4, 200, 255);
    EXPECT_EQ(f.contrastColour(255), core::units::rgbColour(245, 55, 0));
    EXPECT_EQ(f.contrastColour(0), core::units::rgbColour(10, 200, 255));
    EXPECT_EQ(f.contrastColour(100), core::units::rgbColour(90, 100, 155));
}

// ---- A tick of the settings window's fade timer ----

namespace {

class FadeTick : public TockaFixture
{
protected:
    void SetUp() override
    {
        TockaFixture::SetUp();
        settings::FrmSetting &s = settings();
        // A steady fade at (100, 50, 25): targets equal to the start.
        s.fade = at(100, 50, 25);
        s.fade.counter = 0;
        s.fade.targetRed = 100;
        s.fade.targetGreen = 50;
        s.fade.targetBlue = 25;
        s.fade.startRed = 100;
        s.fade.startGreen = 50;
        s.fade.startBlue = 25;
        s.ActiveFadeMag = QStringLiteral("20");
        s.ActiveContrastOffset = 255;
    }
};

} // namespace

TEST_F(FadeTick, PaintsOnlyTheCheckedParts)
{
    const core::units::Colour fading = core::units::rgbColour(100, 50, 25);
    const core::units::Colour contrast = core::units::rgbColour(155, 205, 230);
    const core::units::Colour before = core::units::rgbColour(1, 2, 3);
    struct Row
    {
        int clockBack, clockFront, form, frames;
    };
    const Row rows[] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}, {1, 1, 1, 1}, {2, 2, 2, 2}, {0, 0, 0, 0}};
    settings::FrmSetting &s = settings();
    clockwindow::Form1 &c = clock();
    for (const Row &row : rows) {
        c.Label1.setBackColor(before);
        c.Label1.setForeColor(before);
        s.setBackColor(before);
        for (forms::FrameControl *frame : {&s.FrameColor, &s.FrameBounce, &s.FrameAlarm, &s.FrameFade})
            frame->setBackColor(before);
        const std::initializer_list<forms::CheckBoxControl *> boxes
            = {&s.ChkFade, &s.ChkClockFade, &s.ChkClockFaceFade, &s.ChkSettingFormFade, &s.ChkSettingFrameFade};
        for (forms::CheckBoxControl *box : boxes)
            box->setBackColor(before);
        s.ChkClockFade.setValue(row.clockBack);
        s.ChkClockFaceFade.setValue(row.clockFront);
        s.ChkSettingFormFade.setValue(row.form);
        s.ChkSettingFrameFade.setValue(row.frames);
        const int counter = s.fade.counter;

        s.SettingFormTimer_Timer();
        EXPECT_EQ(s.fade.counter, counter + 1) << "the fade runs on whatever is painted";
        const auto expect = [&](int box, core::units::Colour painted) { return box == 1 ? painted : before; };
        const testing::Message which = testing::Message() << row.clockBack << row.clockFront << row.form << row.frames;
        EXPECT_EQ(c.Label1.BackColor(), expect(row.clockBack, fading)) << which;
        EXPECT_EQ(c.Label1.ForeColor(), expect(row.clockFront, contrast)) << which;
        EXPECT_EQ(s.BackColor(), expect(row.form, fading)) << which;
        for (forms::FrameControl *frame : {&s.FrameColor, &s.FrameBounce, &s.FrameAlarm, &s.FrameFade})
            EXPECT_EQ(frame->BackColor(), expect(row.frames, fading)) << which;
        for (forms::CheckBoxControl *box : boxes)
            EXPECT_EQ(box->BackColor(), expect(row.frames, fading)) << which;
    }
}

TEST_F(FadeTick, EveryTickReseedsFromTheClockAndTheTimerRunsIt)
{
    fake.set(QDate(2026, 12, 7), QTime(12, 0, 0, 250));
    ASSERT_TRUE(settings().SettingFormTimer.onTimer);
    settings().SettingFormTimer.onTimer();
    ASSERT_FALSE(fake.seeds.empty());
    EXPECT_EQ(fake.seeds.back(), 43200.25f);
    EXPECT_EQ(settings().fade.counter, 1);
}
