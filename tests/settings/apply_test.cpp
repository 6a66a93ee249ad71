// SPDX-License-Identifier: MIT
// Enter in a number box applies it, with the limits rewriting the box.

#include "settings/settingsfixture.h"

#include <functional>
#include <vector>

namespace {

void pressEnter(forms::TextBoxControl &box)
{
    ASSERT_TRUE(box.onKeyPress);
    std::int16_t key = 13;
    box.onKeyPress(key);
    EXPECT_EQ(key, 13) << "Enter stays Enter";
}

} // namespace

class ApplyTest : public SettingsFixture
{
};

TEST_F(ApplyTest, EnterAppliesWithinTheLimits)
{
    struct Row
    {
        const char *box;
        forms::TextBoxControl settings::FrmSetting::*member;
        QString typed;
        QString shown;                               // the box afterwards
        std::function<double(tocka::TockaApp &)> inForce;   // what took effect
        double expected;
    };
    auto bounce = [](tocka::TockaApp &a) { return double(a.form1().Bounce.Interval()); };
    auto speedX = [](tocka::TockaApp &a) { return double(a.form1().SpeedX); };
    auto speedY = [](tocka::TockaApp &a) { return double(a.form1().SpeedY); };
    auto fadeTimer = [](tocka::TockaApp &a) { return double(a.FrmSetting().SettingFormTimer.Interval()); };
    auto fadeMag = [](tocka::TockaApp &a) { return a.FrmSetting().ActiveFadeMag.toDouble(); };
    auto contrast = [](tocka::TockaApp &a) { return a.FrmSetting().ActiveContrastOffset; };
    auto alarmTimer = [](tocka::TockaApp &a) { return double(a.form1().TockaAlarmTimer.Interval()); };
    auto boxNumber = [](forms::TextBoxControl settings::FrmSetting::*m) {
        return [m](tocka::TockaApp &a) { return (a.FrmSetting().*m).Text().toDouble(); };
    };
    const std::vector<Row> rows = {
        { "BunInt", &settings::FrmSetting::BunInt, "250", "250", bounce, 250 },
        { "BunInt", &settings::FrmSetting::BunInt, "0", "0", bounce, 0 },
        { "BunXM", &settings::FrmSetting::BunXM, "12", "12", speedX, 12 },
        { "BunYM", &settings::FrmSetting::BunYM, "999", "999", speedY, 999 },
        { "BunXM pasted", &settings::FrmSetting::BunXM, "x", "12", speedX, 12 }, // keeps the step in force
        { "FadeInterval", &settings::FrmSetting::FadeInterval, "500", "500", fadeTimer, 500 },
        { "FadeInterval", &settings::FrmSetting::FadeInterval, "99999", "65535", fadeTimer, 65535 },
        { "FadeInterval", &settings::FrmSetting::FadeInterval, "65535", "65535", fadeTimer, 65535 },
        { "FadeMag", &settings::FrmSetting::FadeMag, "35", "35", fadeMag, 35 },
        { "ContrastOffset", &settings::FrmSetting::ContrastOffset, "999", "255", contrast, 255 },
        { "ContrastOffset", &settings::FrmSetting::ContrastOffset, "255", "255", contrast, 255 },
        { "ContrastOffset", &settings::FrmSetting::ContrastOffset, "40", "40", contrast, 40 },
        { "ContrastOffset empty", &settings::FrmSetting::ContrastOffset, "", "40", contrast, 40 },
        { "AlarmInterval", &settings::FrmSetting::AlarmInterval, "100000", "86400",
            boxNumber(&settings::FrmSetting::AlarmInterval), 86400 },
        { "AlarmInterval", &settings::FrmSetting::AlarmInterval, "86400", "86400",
            boxNumber(&settings::FrmSetting::AlarmInterval), 86400 },
        { "AlarmInterval", &settings::FrmSetting::AlarmInterval, "1.2.3", "1.2",
            boxNumber(&settings::FrmSetting::AlarmInterval), 1.2 },
        { "AlarmInterval", &settings::FrmSetting::AlarmInterval, "", "20",
            boxNumber(&settings::FrmSetting::AlarmInterval), 20 },
        { "tockUntil", &settings::FrmSetting::tockUntil, "99999999", "86400",
            boxNumber(&settings::FrmSetting::tockUntil), 86400 },
        { "tockUntil", &settings::FrmSetting::tockUntil, "0.5", "0.5", boxNumber(&settings::FrmSetting::tockUntil),
            0.5 },
        { "TockBreakLenth is not limited", &settings::FrmSetting::TockBreakLenth, "99999", "99999",
            boxNumber(&settings::FrmSetting::TockBreakLenth), 99999 },
        { "TockaAlarmResolution", &settings::FrmSetting::TockaAlarmResolution, "99999", "65535", alarmTimer, 65535 },
        { "TockaAlarmResolution", &settings::FrmSetting::TockaAlarmResolution, "500", "500", alarmTimer, 500 },
        { "TockaAlarmResolution", &settings::FrmSetting::TockaAlarmResolution, "0", "0", alarmTimer, 0 },
    };
    tocka::TockaApp &a = start();
    for (const Row &r : rows) {
        forms::TextBoxControl &box = settings().*r.member;
        box.setTextFromCode(r.typed);
        pressEnter(box);
        EXPECT_EQ(box.Text(), r.shown) << r.box << " " << qPrintable(r.typed);
        EXPECT_DOUBLE_EQ(r.inForce(a), r.expected) << r.box << " " << qPrintable(r.typed);
    }
    // An alarm timer whose interval is 0 never fires, even when switched on.
    clock().TockaAlarmTimer.setEnabled(true);
    EXPECT_FALSE(clock().TockaAlarmTimer.isTicking());
}

TEST_F(ApplyTest, BounceIntervalFollowsEveryChangeAndLimitsItself)
{
    start();
    settings::FrmSetting &s = settings();
    EXPECT_EQ(s.BunInt.Text(), "60") << "loaded from the clock window";

    int changes = 0;
    const auto wired = s.BunInt.onChange;
    s.BunInt.onChange = [&] {
        ++changes;
        wired();
    };
    s.BunInt.setTextFromCode("7000");
    EXPECT_EQ(clock().Bounce.Interval(), 7000);
    changes = 0;
    s.BunInt.setTextFromCode("70000");
    EXPECT_EQ(s.BunInt.Text(), "65535");
    EXPECT_EQ(clock().Bounce.Interval(), 65535);
    EXPECT_EQ(changes, 2) << "rewriting the text runs the handler again";

    s.BunInt.setTextFromCode("");
    EXPECT_EQ(clock().Bounce.Interval(), 65535) << "an empty box applies nothing";
    s.BunInt.setTextFromCode("abc");
    EXPECT_EQ(clock().Bounce.Interval(), 65535) << "pasted text applies nothing";
    s.BunInt.setTextFromCode("0");
    EXPECT_EQ(clock().Bounce.Interval(), 0);
    clock().Bounce.setEnabled(true);
    EXPECT_FALSE(clock().Bounce.isTicking()) << "interval 0 stops the bouncing";
}

TEST_F(ApplyTest, SavedFadeValuesShowButTakeEffectOnlyOnEnter)
{
    writeIni("[Settings]\nFadeInterval=500\nFadeMagnitude=40\nContrastOffset=30\n");
    start();
    settings::FrmSetting &s = settings();
    EXPECT_EQ(s.FadeInterval.Text(), "500");
    EXPECT_EQ(s.SettingFormTimer.Interval(), 150);
    EXPECT_EQ(s.ActiveFadeMag, "20");
    EXPECT_EQ(s.ActiveContrastOffset, 0);
    pressEnter(s.FadeMag);
    EXPECT_EQ(s.SettingFormTimer.Interval(), 500);
    EXPECT_EQ(s.ActiveFadeMag, "40");
    EXPECT_EQ(s.ActiveContrastOffset, 30);
}

TEST_F(ApplyTest, AlwaysOnTopChangesOnlyTheClockWindowAndReachesAlwaysTopOnClose)
{
    start();
    clockwindow::Form1 &c = clock();
    settings::FrmSetting &s = settings();
    c.Show();
    s.Show();
    const QRect before = c.geometry();
    ASSERT_TRUE(c.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << "no settings file: on top";
    EXPECT_FALSE(c.AlwaysTop.has_value());

    s.chkOnTop.setValue(0);
    EXPECT_FALSE(c.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(c.isVisible()) << "the window is not hidden to change its stacking";
    EXPECT_EQ(c.geometry(), before);
    EXPECT_FALSE(c.AlwaysTop.has_value()) << "AlwaysTop changes only when the window closes";

    s.chkOnTop.setValue(2);
    EXPECT_FALSE(c.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << "grayed does nothing";
    s.chkOnTop.setValue(1);
    EXPECT_TRUE(c.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(c.geometry(), before);
    EXPECT_FALSE(s.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << "the settings window never is";

    s.chkOnTop.setValue(0);
    s.Unload();
    settle();
    EXPECT_EQ(c.AlwaysTop, 0);
    // A re-created window shows the box checked, but nothing changes the
    // clock window's stacking until the box is used.
    EXPECT_EQ(settings().chkOnTop.Value(), 1);
    EXPECT_FALSE(c.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(ApplyTest, ReopenedWindowRevertsFadeButShowsTheClockWindowsValues)
{
    start();
    settings::FrmSetting &s = settings();
    s.ChkFade.setValue(1);
    s.FadeInterval.setTextFromCode("300");
    pressEnter(s.FadeInterval);
    s.BunXM.setTextFromCode("7");
    pressEnter(s.BunXM);
    s.ForRed.setTextFromCode("100");
    pressEnter(s.ForRed);
    s.Unload();
    settle();

    settings::FrmSetting &again = settings();
    EXPECT_EQ(again.FadeInterval.Text(), "150");
    EXPECT_EQ(again.SettingFormTimer.Interval(), 150);
    EXPECT_EQ(again.FadeMag.Text(), "20");
    EXPECT_EQ(again.ContrastOffset.Text(), "0");
    EXPECT_EQ(again.ChkFade.Value(), 0);
    EXPECT_EQ(again.AlarmInterval.Text(), "20");
    EXPECT_EQ(again.BunXM.Text(), "7");
    EXPECT_EQ(again.ForRed.Text(), "100");
    EXPECT_EQ(again.ForeHex.Text(), "64CCEE");
}
