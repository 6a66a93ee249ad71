// SPDX-License-Identifier: MIT
// The semantics the windows rely on from their controls: timers that never
// fire at interval 0, text boxes whose key hook sees the character first,
// check boxes with three values, labels that report a double click in the
// order press, release, click, double click, release and grey out when
// disabled, and forms that are rebuilt from their design after being closed.

#include "forms/checkboxcontrol.h"
#include "forms/form.h"
#include "forms/formslot.h"
#include "forms/labelcontrol.h"
#include "forms/qcolour.h"
#include "forms/textboxcontrol.h"
#include "forms/timercontrol.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(TimerControl, TicksOnlyWhenEnabledWithANonZeroInterval)
{
    QObject owner;
    forms::TimerControl timer(&owner, 60, false);
    EXPECT_FALSE(timer.isTicking());
    timer.setEnabled(true);
    EXPECT_TRUE(timer.isTicking());
    timer.setInterval(0);
    EXPECT_TRUE(timer.Enabled()) << "changing the interval keeps Enabled";
    EXPECT_FALSE(timer.isTicking()) << "interval 0 never fires";
    timer.setInterval(70000);
    EXPECT_EQ(timer.Interval(), 65535);
    EXPECT_TRUE(timer.isTicking());
    timer.setInterval(-5);
    EXPECT_EQ(timer.Interval(), 0);
    timer.setInterval(1000);
    timer.setEnabled(false);
    EXPECT_FALSE(timer.isTicking());
    EXPECT_EQ(timer.Interval(), 1000);
}

TEST(TextBoxControl, KeyHookSeesTheCodeFirstAndCanDiscardOrReplaceIt)
{
    QWidget window;
    forms::TextBoxControl box(&window, QStringLiteral("0"), 3);
    std::vector<int> seen;
    box.onKeyPress = [&](std::int16_t &key) {
        seen.push_back(key);
        if (key == 'x')
            key = 0;     // thrown away
        else if (key == 'a')
            key = 'A';   // replaced
        else if (key == 22)
            key = 0;     // Ctrl+V, like every other code outside a filter's set
    };
    box.clear();
    QTest::keyClicks(&box, QStringLiteral("1x"));
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_A);
    EXPECT_EQ(box.Text(), QStringLiteral("1A"));
    EXPECT_EQ(seen, (std::vector<int>{'1', 'x', 22, 'a'}));

    seen.clear();
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Left); // types nothing: the hook is not asked
    EXPECT_EQ(seen, (std::vector<int>{13, 8}));
    EXPECT_EQ(box.Text(), QStringLiteral("1"));
}

TEST(TextBoxControl, MaximumLengthBindsTypingButNotCode)
{
    QWidget window;
    forms::TextBoxControl box(&window, QStringLiteral("20"), 8);
    int changes = 0;
    box.onChange = [&] { ++changes; };
    box.setTextFromCode(QStringLiteral("19.9666666666667"));
    EXPECT_EQ(box.Text(), QStringLiteral("19.9666666666667")) << "code may set a longer text";
    EXPECT_EQ(changes, 1);
    box.setTextFromCode(QStringLiteral("19.9666666666667"));
    EXPECT_EQ(changes, 1) << "no change, no change handler";

    box.setTextFromCode(QString());
    QTest::keyClicks(&box, QStringLiteral("1234567890"));
    EXPECT_EQ(box.Text(), QStringLiteral("12345678")) << "typing stops at the maximum";

    // A long text shortened by the user tightens back to the maximum.
    box.setTextFromCode(QStringLiteral("19.9666666666667"));
    box.end(false);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_1);
    EXPECT_EQ(box.Text(), QStringLiteral("19.966666666666")) << "no typing past the maximum";
}

TEST(CheckBoxControl, ThreeValuesAndAClickHandlerOnEveryChange)
{
    QWidget window;
    forms::CheckBoxControl box(&window, QStringLiteral("Allow Fading"), 0);
    std::vector<int> clicks;
    box.onClick = [&] { clicks.push_back(box.Value()); };

    EXPECT_TRUE(box.setValue(1));
    EXPECT_TRUE(box.setValue(1)); // unchanged: no click
    EXPECT_TRUE(box.setValue(2));
    EXPECT_FALSE(box.setValue(7));
    EXPECT_EQ(box.Value(), 2);
    EXPECT_EQ(clicks, (std::vector<int>{1, 2}));

    clicks.clear();
    box.setValue(0);
    box.click();
    box.click();
    box.setValue(2);
    box.click(); // a user's click never grays, and from grayed it clears
    EXPECT_EQ(clicks, (std::vector<int>{0, 1, 0, 2, 0}));
}

// A label of 81 by 18 pixels at the corner of a shown window, and a record
// of what its handlers saw.
struct ShownLabel
{
    explicit ShownLabel(const QString &caption)
        : label(&window, caption)
    {
        window.resize(200, 100);
        label.setGeometry(0, 0, 81, 18);
        window.show();
    }
    QWidget window;
    forms::LabelControl label;
    std::vector<std::string> events;
};

TEST(LabelControl, DoubleClickArrivesAsPressReleaseClickDoubleClickRelease)
{
    ShownLabel shown(QStringLiteral("Time On:"));
    forms::LabelControl &label = shown.label;
    std::vector<std::string> &events = shown.events;
    label.onMouseDown = [&](int b, int, float x, float y) {
        events.push_back("down" + std::to_string(b) + "@" + std::to_string(int(x)) + "," + std::to_string(int(y)));
    };
    label.onMouseUp = [&](int b, int, float, float) { events.push_back("up" + std::to_string(b)); };
    label.onClick = [&] { events.push_back("click"); };
    label.onDblClick = [&] { events.push_back("dblclick"); };

    // What the window system delivers for a double click (checked on X11):
    // press, release, double click, release.
    const QPoint at(10, 5);
    QTest::mousePress(&label, Qt::RightButton, Qt::NoModifier, at);
    QTest::mouseRelease(&label, Qt::RightButton, Qt::NoModifier, at);
    QTest::mouseDClick(&label, Qt::RightButton, Qt::NoModifier, at);
    QTest::mouseRelease(&label, Qt::RightButton, Qt::NoModifier, at);
    const std::vector<std::string> expected{"down2@150,75", "up2", "click", "dblclick", "up2"};
    EXPECT_EQ(events, expected);

    events.clear();
    QTest::mouseClick(&label, Qt::MiddleButton, Qt::NoModifier, QPoint(1, 1));
    EXPECT_EQ(events, (std::vector<std::string>{"down4@15,15", "up4", "click"}));
}

TEST(LabelControl, AClickIsAPressAndAReleaseBothOnTheLabel)
{
    struct Row
    {
        QPoint release;
        bool click;
    };
    const Row rows[] = {
        {{10, 5}, true},   {{0, 0}, true},   {{80, 17}, true}, {{81, 5}, false},
        {{10, 18}, false}, {{-1, 5}, false}, {{10, -1}, false}, {{150, 40}, false},
    };
    ShownLabel shown(QStringLiteral("Tocka home page"));
    forms::LabelControl &label = shown.label;
    std::vector<std::string> &events = shown.events;
    label.onMouseUp = [&](int b, int, float, float) { events.push_back("up" + std::to_string(b)); };
    label.onClick = [&] { events.push_back("click"); };
    for (const Row &row : rows) {
        events.clear();
        QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
        QTest::mouseMove(&label, row.release);
        QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, row.release);
        const std::vector<std::string> expected = row.click ? std::vector<std::string>{"up1", "click"}
                                                            : std::vector<std::string>{"up1"};
        EXPECT_EQ(events, expected) << row.release.x() << "," << row.release.y();
    }

    // Off the label and back onto it before the release: a click.
    events.clear();
    QTest::mousePress(&label, Qt::RightButton, Qt::NoModifier, QPoint(10, 5));
    QTest::mouseMove(&label, QPoint(150, 40));
    QTest::mouseMove(&label, QPoint(40, 9));
    QTest::mouseRelease(&label, Qt::RightButton, Qt::NoModifier, QPoint(40, 9));
    EXPECT_EQ(events, (std::vector<std::string>{"up2", "click"}));
}

bool drawsIn(QWidget &widget, const QColor &colour)
{
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour.rgb())
                return true;
    return false;
}

TEST(LabelControl, ADisabledLabelDrawsItsTextGreyLikeTheCheckBoxBesideIt)
{
    struct Row
    {
        core::units::Colour fore;
        bool wrap;
    };
    const Row rows[] = {{0, false}, {0, true}, {0xFF0000, false}, {0x008000, true}};
    for (const Row &row : rows) {
        QWidget window;
        window.resize(300, 60);
        forms::LabelControl label(&window, QStringLiteral("Resolution"));
        label.setGeometry(0, 0, 120, 20);
        label.setWordWrap(row.wrap);
        label.setForeColor(row.fore);
        forms::CheckBoxControl box(&window, QStringLiteral("Force Break"), 0);
        box.setGeometry(130, 0, 120, 20);
        window.show();
        const QColor fore(forms::toQColor(row.fore));

        EXPECT_TRUE(drawsIn(label, fore)) << row.fore;
        label.setEnabled(false);
        box.setEnabled(false);
        EXPECT_FALSE(drawsIn(label, fore)) << row.fore;
        EXPECT_EQ(label.palette().color(QPalette::Disabled, label.foregroundRole()).name().toStdString(),
                  box.palette().color(QPalette::Disabled, box.foregroundRole()).name().toStdString())
            << row.fore;
        label.setEnabled(true);
        EXPECT_TRUE(drawsIn(label, fore)) << "enabled again, in its own colour " << row.fore;
    }
}

class SampleForm : public forms::Form
{
public:
    explicit SampleForm(std::vector<std::string> &log)
        : log_(log)
    {
    }
    void Form_Load() override
    {
        log_.push_back("load");
        caption = QStringLiteral("loaded");
    }
    void Form_Unload() override { log_.push_back("unload"); }
    QString caption = QStringLiteral("design");

private:
    std::vector<std::string> &log_;
};

TEST(FormSlot, CreatesHiddenRunsLoadFirstAndRebuildsAfterClose)
{
    std::vector<std::string> log;
    forms::FormSlot<SampleForm> slot([&] { return new SampleForm(log); });
    EXPECT_FALSE(slot.isLoaded());

    SampleForm &first = slot.get();
    EXPECT_EQ(first.caption, QStringLiteral("loaded")) << "load ran before the reference completed";
    EXPECT_FALSE(first.isVisible()) << "created hidden";
    EXPECT_EQ(&slot.get(), &first) << "at most one";
    first.caption = QStringLiteral("changed at run time");

    QPointer<SampleForm> gone(&first);
    first.Unload();
    EXPECT_FALSE(slot.isLoaded()) << "forgotten at once";
    first.Unload(); // a second close runs nothing
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull()) << "deleted by the event loop";

    SampleForm &second = slot.get();
    EXPECT_EQ(second.caption, QStringLiteral("loaded")) << "rebuilt from its design";
    EXPECT_EQ(log, (std::vector<std::string>{"load", "unload", "load"}));
}

TEST(Form, KeepsFractionsOfAPixelInItsTwips)
{
    forms::Form form;
    form.setWidth(1220);
    form.setHeight(275);
    form.setTop(30);
    for (int i = 0; i < 3; ++i)
        form.setTop(form.Top() - 65); // a bouncing step of 4 1/3 pixels
    EXPECT_FLOAT_EQ(form.Top(), -165);
    EXPECT_EQ(form.pos().y(), -11);
    EXPECT_FLOAT_EQ(form.Width(), 1220);
    EXPECT_EQ(form.width(), 81);
}

} // namespace
