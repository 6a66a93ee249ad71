// SPDX-License-Identifier: MIT
// Real key events into the real boxes: what gets through, Ctrl+V, pasting,
// Enter, and a click on the always-on-top box.

#include "settings/settingsfixture.h"

#include "forms/fonts.h"

#include <QAccessible>
#include <QClipboard>
#include <QApplication>
#include <QTest>

class TypingTest : public SettingsFixture
{
protected:
    void SetUp() override
    {
        SettingsFixture::SetUp();
        start();
        clock().Show();
        settings().Show();
    }

    static void typeInto(forms::TextBoxControl &box, const QString &keys)
    {
        box.setFocus();
        box.selectAll();
        QTest::keyClick(&box, Qt::Key_Backspace);
        QTest::keyClicks(&box, keys);
    }
};

TEST_F(TypingTest, EachBoxTakesOnlyWhatItsFilterLetsThrough)
{
    struct Row { forms::TextBoxControl settings::FrmSetting::*box; QString typed; QString shown; };
    const Row rows[] = {
        {&settings::FrmSetting::ForRed, "1a-2", "12"},
        {&settings::FrmSetting::ForRed, "1234", "123"},          // three characters at most
        {&settings::FrmSetting::BunXM, "4.5", "45"},
        {&settings::FrmSetting::ForeHex, "fG0 aZ9", "f0a9"},
        {&settings::FrmSetting::BackHex, "ABCDEFAB", "ABCDEF"},
        {&settings::FrmSetting::AlarmInterval, "1.5.2x", "1.5.2"}, // two points pass the filter
        {&settings::FrmSetting::TockBreakLenth, "9.9", "9.9"},
        {&settings::FrmSetting::TockaAlarmResolution, "3.0", "30"},
    };
    for (const Row &r : rows) {
        forms::TextBoxControl &box = settings().*r.box;
        typeInto(box, r.typed);
        EXPECT_EQ(box.Text(), r.shown) << qPrintable(r.typed);
    }
}

TEST_F(TypingTest, CtrlVIsThrownAwayButAPasteFromTheMenuIsHandledOnEnter)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("x7"));
    forms::TextBoxControl &red = settings().ForRed;
    typeInto(red, "12");
    QTest::keyClick(&red, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(red.Text(), "12");

    // The context menu's Paste inserts whatever the clipboard holds.
    red.selectAll();
    red.paste();
    if (red.Text() != "x7")
        GTEST_SKIP() << "no clipboard on this platform";
    QTest::keyClick(&red, Qt::Key_Return);
    EXPECT_EQ(red.Text(), "0") << "no number in it: the red in force stands";
    EXPECT_EQ(settings().ForeHex.Text(), "00CCEE");
    EXPECT_EQ(clock().Label1.ForeColor(), core::units::rgbColour(0, 0xCC, 0xEE));
}

TEST_F(TypingTest, EnterAppliesColoursBothWaysAndTheBounceIntervalFollowsTyping)
{
    typeInto(settings().ForGreen, "300");
    EXPECT_EQ(settings().ForGreen.Text(), "300");
    QTest::keyClick(&settings().ForGreen, Qt::Key_Enter);
    EXPECT_EQ(settings().ForGreen.Text(), "255");
    EXPECT_EQ(settings().ForeHex.Text(), "00FFEE");
    EXPECT_EQ(clock().Label1.ForeColor(), core::units::rgbColour(0, 255, 0xEE));

    typeInto(settings().BackHex, "c0c0");
    QTest::keyClick(&settings().BackHex, Qt::Key_Return);
    EXPECT_EQ(settings().BackHex.Text(), "C0C0");
    EXPECT_EQ(settings().BacBlue.Text(), "192");
    EXPECT_EQ(clock().Label1.BackColor(), core::units::rgbColour(192, 192, 192));

    // The fifth digit of 70000 turns the text into the limit.
    typeInto(settings().BunInt, "7000");
    EXPECT_EQ(clock().Bounce.Interval(), 7000);
    QTest::keyClicks(&settings().BunInt, "0");
    EXPECT_EQ(settings().BunInt.Text(), "65535");
    EXPECT_EQ(clock().Bounce.Interval(), 65535);
    QTest::keyClick(&settings().BunInt, Qt::Key_Backspace);
    EXPECT_EQ(clock().Bounce.Interval(), 6553);

    typeInto(settings().AlarmInterval, "100000");
    QTest::keyClick(&settings().AlarmInterval, Qt::Key_Return);
    EXPECT_EQ(settings().AlarmInterval.Text(), "86400");
}

TEST_F(TypingTest, ClickingAlwaysOnTopChangesTheClockWindowAtOnce)
{
    forms::CheckBoxControl &box = settings().chkOnTop;
    ASSERT_EQ(box.Value(), 1);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(8, box.height() / 2));
    EXPECT_EQ(box.Value(), 0);
    EXPECT_FALSE(clock().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(8, box.height() / 2));
    EXPECT_EQ(box.Value(), 1);
    EXPECT_TRUE(clock().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(TypingTest, EveryControlIsNamedForAssistiveTechnology)
{
    int named = 0;
    for (QWidget *w : settings().findChildren<QWidget *>()) {
        const bool control = qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractButton *>(w)
            || qobject_cast<QLabel *>(w) || qobject_cast<QGroupBox *>(w) || qobject_cast<QPlainTextEdit *>(w);
        if (!control)
            continue;
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty())
            << w->metaObject()->className() << " " << w->geometry().x()
                                                    << "," << w->geometry().y();
        ++named;
    }
    // 18 number boxes, 8 check boxes, 22 labels and the picture, 4 frames,
    // the note and the button.
    EXPECT_EQ(named, 18 + 8 + 23 + 4 + 1 + 1);
    EXPECT_EQ(settings().ForRed.accessibleName(), "Fore G Red");
    EXPECT_EQ(settings().BunXM.accessibleName(), "Horizontal Movement");
    EXPECT_EQ(settings().BunInt.accessibleDescription(), settings().Label6.toolTip());
    EXPECT_EQ(settings().TockaAlarmResolution.accessibleDescription(),
              "How often the Until Tock is updated. Lower values uses more CPU.  (2000 recommended)");
    EXPECT_EQ(settings().chkOnTop.accessibleDescription(), settings().chkOnTop.toolTip());
}

TEST_F(TypingTest, TabGoesPanelByPanelToCommand1AndShiftTabComesBack)
{
    settings::FrmSetting &s = settings();
    s.ChkFade.setValue(1); // the fade targets take part only while enabled
    s.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s));
    const std::vector<QWidget *> expected{
        &s.ForRed, &s.ForGreen, &s.ForBlue, &s.BacRed, &s.BacGreen, &s.BacBlue, &s.ForeHex, &s.BackHex,
        &s.FadeInterval, &s.FadeMag, &s.ContrastOffset, &s.ChkFade, &s.ChkClockFade, &s.ChkClockFaceFade,
        &s.ChkSettingFormFade, &s.ChkSettingFrameFade, &s.Image1, &s.BunInt, &s.BunXM, &s.BunYM, &s.chkOnTop,
        &s.TockaMode, &s.AlarmInterval, &s.tockUntil, &s.TockForceBreak, &s.TockBreakLenth,
        &s.TockaAlarmResolution, &s.WARN, &s.Command1};
    const QString note = s.WARN.Text();

    s.ForRed.setFocus();
    std::vector<QWidget *> forward{QApplication::focusWidget()};
    while (forward.size() < expected.size() + 1) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        forward.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(std::vector<QWidget *>(forward.begin(), forward.end() - 1), expected);
    EXPECT_EQ(forward.back(), &s.ForRed) << "from Command1 Tab goes round to the start";
    EXPECT_EQ(s.WARN.Text(), note) << "the note took a Tab as text";

    s.Command1.setFocus();
    std::vector<QWidget *> backward{QApplication::focusWidget()};
    while (backward.size() < expected.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        backward.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(backward, std::vector<QWidget *>(expected.rbegin(), expected.rend()));

    // The picture is poked from the keyboard as by a click.
    fake.randomValues = {0.5f}; // poke number 6
    s.Image1.setFocus();
    QTest::keyClick(&s.Image1, Qt::Key_Space);
    EXPECT_EQ(fake.messages, QStringList{QStringLiteral("Burp Burp!")});
}

TEST_F(TypingTest, ControlsTakeTheirFontsAndPlacesWhenTheWindowFirstShows)
{
    // Loaded hidden at start, the window leaves them until it is shown.
    settings::FrmSetting &s = settings();
    s.Show();
    // The alarm frame's place in twips, 120, 4680, 3855 x 1695, in pixels.
    EXPECT_EQ(s.FrameAlarm.geometry(), QRect(8, 312, 257, 113));
    EXPECT_EQ(s.BunInt.font().family(), forms::fonts::family(QStringLiteral("Verdana")));
    EXPECT_TRUE(s.LabelTocka.font().bold());
}
