// SPDX-License-Identifier: MIT
// The alarm and fade check boxes: each starts and stops its timer and greys
// its controls out in the stated order; a grayed value does nothing.

#include "clock/tockafixture.h"

#include <QList>

namespace {

// Records the order in which widgets change their enabled state.
class EnabledOrder : public QObject
{
public:
    explicit EnabledOrder(const QList<QWidget *> &watched)
    {
        for (QWidget *w : watched)
            w->installEventFilter(this);
    }
    QList<QObject *> seen;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange)
            seen << object;
        return false;
    }
};

QList<QObject *> asObjects(const QList<QWidget *> &widgets)
{
    return {widgets.begin(), widgets.end()};
}

bool allEnabled(const QList<QWidget *> &widgets, bool enabled)
{
    return std::all_of(widgets.begin(), widgets.end(), [&](QWidget *w) { return w->isEnabled() == enabled; });
}

using Panels = TockaFixture;

} // namespace

TEST_F(Panels, TockEnabledSwitchesTheAlarmTimerAndItsControls)
{
    settings::FrmSetting &s = settings();
    clockwindow::Form1 &c = clock();
    const QList<QWidget *> alarm = {&s.AlarmInterval,        &s.tockUntil, &s.TockForceBreak,
                                    &s.TockBreakLenth,       &s.TockaAlarmResolution,
                                    &s.Label18,              &s.Label9,    &s.Label13,
                                    &s.Label17};
    // Shown ticked at start, but nothing has started the alarm.
    EXPECT_EQ(s.TockaMode.Value(), 1);
    EXPECT_FALSE(c.TockaAlarmTimer.Enabled());
    c.TockaAlarmTimer.setInterval(1234);

    EnabledOrder order(alarm);
    s.TockaMode.resize(s.TockaMode.sizeHint());
    QTest::mouseClick(&s.TockaMode, Qt::LeftButton); // a user's click
    EXPECT_EQ(s.TockaMode.Value(), 0);
    EXPECT_FALSE(c.TockaAlarmTimer.Enabled());
    EXPECT_EQ(order.seen, asObjects(alarm));
    EXPECT_TRUE(allEnabled(alarm, false));
    EXPECT_TRUE(s.FrameAlarm.isEnabled() && s.LabelTocka.isEnabled() && s.TockaMode.isEnabled());

    order.seen.clear();
    s.tockUntil.setTextFromCode(QStringLiteral("7"));
    fake.set(QDate(2026, 12, 7), QTime(14, 0, 0));
    s.TockaMode.setValue(1);
    EXPECT_TRUE(c.TockaAlarmTimer.Enabled());
    EXPECT_EQ(c.TockaAlarmTimer.Interval(), 1234);
    EXPECT_EQ(order.seen, asObjects(alarm));
    EXPECT_TRUE(allEnabled(alarm, true));
    EXPECT_EQ(c.AlarmStartTimer, 14 * 3600) << "the countdown restarts now";
    EXPECT_EQ(c.AlarmUntil, QStringLiteral("7"));

    // Grayed: nothing moves, whichever state it comes from.
    order.seen.clear();
    s.TockaMode.setValue(2);
    EXPECT_TRUE(c.TockaAlarmTimer.Enabled());
    EXPECT_TRUE(order.seen.isEmpty());
}

TEST_F(Panels, AllowFadingSwitchesTheFadeTimerAndItsTargets)
{
    settings::FrmSetting &s = settings();
    const QList<QWidget *> targets = {&s.ChkClockFade, &s.ChkClockFaceFade, &s.ChkSettingFormFade,
                                      &s.ChkSettingFrameFade};
    EXPECT_TRUE(allEnabled(targets, false));
    EXPECT_FALSE(s.SettingFormTimer.Enabled());

    // The settings loader sets the saved "AllowFading" on the hidden window.
    EnabledOrder order(targets);
    s.ChkFade.setValue(1);
    EXPECT_FALSE(s.isVisible());
    EXPECT_TRUE(s.SettingFormTimer.isTicking());
    EXPECT_EQ(order.seen, asObjects(targets));
    EXPECT_TRUE(allEnabled(targets, true));

    s.ChkClockFaceFade.setValue(1);
    s.ChkSettingFrameFade.setValue(2);
    order.seen.clear();
    s.ChkFade.setValue(0);
    EXPECT_FALSE(s.SettingFormTimer.Enabled());
    EXPECT_EQ(order.seen, asObjects(targets));
    EXPECT_TRUE(allEnabled(targets, false));
    EXPECT_EQ(s.ChkClockFaceFade.Value(), 1) << "targets keep their values";
    EXPECT_EQ(s.ChkSettingFrameFade.Value(), 2);
    EXPECT_TRUE(s.FadeInterval.isEnabled() && s.FadeMag.isEnabled() && s.ContrastOffset.isEnabled());

    order.seen.clear();
    s.ChkFade.setValue(2);
    EXPECT_FALSE(s.SettingFormTimer.Enabled());
    EXPECT_TRUE(order.seen.isEmpty());
}
