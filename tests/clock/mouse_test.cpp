// SPDX-License-Identifier: MIT
// The clock face under the mouse, driven by real mouse events on the label:
// the order the handlers see, clicks and double clicks of each button, the
// colour cycle, the big and small sizes, and dragging with edge pull.

#include "clock/tockafixture.h"
#include "forms/fonts.h"

#include <QStringList>

namespace {

class Mouse : public TockaFixture
{
protected:
    void SetUp() override
    {
        TockaFixture::SetUp();
        showClockAt(3000, 3000); // (200, 200) in pixels
        clock().Bounce.setInterval(75);
    }

    forms::LabelControl &face() { return clock().Label1; }
    static QPoint spot() { return {10, 8}; } // 150, 120 twips into the label

    void click(Qt::MouseButton button)
    {
        QTest::mousePress(&face(), button, {}, spot());
        QTest::mouseRelease(&face(), button, {}, spot());
    }

    // A double click as the desktop delivers it: the second press arrives as
    // the double-click event alone.
    void doubleClick(Qt::MouseButton button)
    {
        QTest::mousePress(&face(), button, {}, spot());
        QTest::mouseRelease(&face(), button, {}, spot());
        QTest::mouseDClick(&face(), button, {}, spot());
        QTest::mouseRelease(&face(), button, {}, spot());
    }

    // Moves the pointer to a point of the screen (pixels), wherever the
    // window has got to meanwhile.
    void pointerTo(int x, int y) { QTest::mouseMove(&face(), face().mapFromGlobal(QPoint(x, y))); }

    void resetLooks()
    {
        clock().setHeight(275);
        clock().setWidth(1220);
        clock().applyBigLook();
        clock().WindowSizeMode = QStringLiteral("BIG");
        clock().ColourMode = 0;
        face().setForeColor(core::units::rgbColour(0, 192, 192));
    }
};

} // namespace

TEST_F(Mouse, ADoubleClickReachesTheHandlersAsPressReleaseClickDoubleClickRelease)
{
    QStringList seen;
    forms::LabelControl &label = face();
    auto down = label.onMouseDown;
    auto up = label.onMouseUp;
    auto clicked = label.onClick;
    auto doubled = label.onDblClick;
    label.onMouseDown = [&, down](int b, int s, float x, float y) {
        seen << QStringLiteral("down %1").arg(b);
        down(b, s, x, y);
    };
    label.onMouseUp = [&, up](int b, int s, float x, float y) {
        seen << QStringLiteral("up %1").arg(b);
        up(b, s, x, y);
    };
    label.onClick = [&, clicked] {
        seen << QStringLiteral("click");
        clicked();
    };
    label.onDblClick = [&, doubled] {
        seen << QStringLiteral("dblclick");
        doubled();
    };
    doubleClick(Qt::RightButton);
    EXPECT_EQ(seen, (QStringList{"down 2", "up 2", "click", "dblclick", "up 2"}));
    EXPECT_EQ(clock().DragStartX, 150);
    EXPECT_EQ(clock().DragStartY, 120);
    EXPECT_EQ(clock().Dragging, 0);
}

TEST_F(Mouse, EachGestureDoesWhatItShould)
{
    struct Row
    {
        const char *what;
        Qt::MouseButton button;
        bool twice;
        bool bouncingBefore;
        bool bouncingAfter;
        bool settingsShown;
        std::int16_t colourMode;
        const char *sizeMode;
    };
    const Row rows[] = {
        {"left click", Qt::LeftButton, false, true, false, false, 0, "BIG"},
        {"right click", Qt::RightButton, false, true, false, true, 0, "BIG"},
        {"left double click", Qt::LeftButton, true, false, true, false, 1, "BIG"},
        {"left double click while bouncing", Qt::LeftButton, true, true, true, false, 1, "BIG"},
        {"right double click", Qt::RightButton, true, false, true, true, 0, "SMALL"},
        {"middle click", Qt::MiddleButton, false, true, false, false, 0, "BIG"},
        {"middle double click", Qt::MiddleButton, true, false, true, false, 0, "BIG"},
    };
    for (const Row &row : rows) {
        resetLooks();
        settings().hide();
        settings().BunInt.setTextFromCode(QString());
        clock().Bounce.setEnabled(row.bouncingBefore);
        if (row.twice)
            doubleClick(row.button);
        else
            click(row.button);
        EXPECT_EQ(clock().Bounce.Enabled(), row.bouncingAfter) << row.what;
        EXPECT_EQ(settings().isVisible(), row.settingsShown) << row.what;
        EXPECT_EQ(clock().ColourMode, row.colourMode) << row.what;
        EXPECT_EQ(clock().WindowSizeMode, QLatin1String(row.sizeMode)) << row.what;
        EXPECT_EQ(settings().BunInt.Text(), row.twice ? QStringLiteral("75") : QString()) << row.what;
    }
}

TEST_F(Mouse, RightDoubleClicksSwitchBetweenBigAndSmall)
{
    resetLooks();
    clock().ColourMode = 2;
    face().setForeColor(core::units::rgbColour(0, 255, 255));
    clock().setLeft(4500);
    clock().setTop(1500);

    doubleClick(Qt::RightButton);
    EXPECT_EQ(clock().WindowSizeMode, QStringLiteral("SMALL"));
    EXPECT_EQ(clock().Height(), 130);
    EXPECT_EQ(clock().Width(), 450);
    EXPECT_EQ(clock().Left(), 4500);
    EXPECT_EQ(clock().Top(), 1500);
    EXPECT_EQ(face().font().family(), forms::fonts::family(QStringLiteral("Small Fonts")));
    EXPECT_EQ(face().font().pointSizeF(), 6);
    EXPECT_FALSE(face().font().bold());
    EXPECT_TRUE(face().alignment() & Qt::AlignLeft);
    EXPECT_EQ(face().ForeColor(), core::units::rgbColour(255, 255, 255));
    EXPECT_EQ(clock().ColourMode, 2);

    doubleClick(Qt::RightButton);
    EXPECT_EQ(clock().WindowSizeMode, QStringLiteral("BIG"));
    EXPECT_EQ(clock().Height(), 275);
    EXPECT_EQ(clock().Width(), 1220);
    EXPECT_EQ(clock().Left(), 4500);
    EXPECT_EQ(face().font().family(), forms::fonts::family(QStringLiteral("Verdana")));
    EXPECT_EQ(face().font().pointSizeF(), 12);
    EXPECT_TRUE(face().font().bold());
    EXPECT_TRUE(face().alignment() & Qt::AlignHCenter);
    EXPECT_EQ(face().ForeColor(), core::units::rgbColour(0, 255, 255));
    EXPECT_EQ(clock().ColourMode, 2);
}

TEST_F(Mouse, BackToBigAfterTheLastColourStaysWhiteUntilTheNextStep)
{
    resetLooks();
    clock().ColourMode = -1;
    face().setForeColor(core::units::rgbColour(255, 255, 255));
    doubleClick(Qt::RightButton);
    doubleClick(Qt::RightButton);
    EXPECT_EQ(clock().WindowSizeMode, QStringLiteral("BIG"));
    EXPECT_EQ(face().ForeColor(), core::units::rgbColour(255, 255, 255));
    EXPECT_EQ(clock().ColourMode, -1);
    doubleClick(Qt::LeftButton);
    EXPECT_EQ(face().ForeColor(), core::units::rgbColour(0, 192, 192));
    EXPECT_EQ(clock().ColourMode, 0);
}

TEST_F(Mouse, ASavedSmallModeOnTheBigStartingLookFirstSettlesOnBig)
{
    resetLooks();
    clock().WindowSizeMode = QStringLiteral("SMALL");
    doubleClick(Qt::RightButton);
    EXPECT_EQ(clock().WindowSizeMode, QStringLiteral("BIG"));
    EXPECT_EQ(clock().Height(), 275);
    doubleClick(Qt::RightButton);
    EXPECT_EQ(clock().WindowSizeMode, QStringLiteral("SMALL"));
    EXPECT_EQ(clock().Height(), 130);
}

TEST_F(Mouse, LeftDoubleClicksStepTheColourCycle)
{
    resetLooks();
    const core::units::Colour expected[] = {core::units::rgbColour(0, 255, 0),     core::units::rgbColour(0, 255, 255),
                                     core::units::rgbColour(255, 255, 0),   core::units::rgbColour(255, 200, 100),
                                     core::units::rgbColour(255, 255, 255), core::units::rgbColour(0, 192, 192)};
    const std::int16_t modes[] = {1, 2, 3, 4, -1, 0};
    for (int i = 0; i < 6; ++i) {
        doubleClick(Qt::LeftButton);
        EXPECT_EQ(face().ForeColor(), expected[i]) << "step " << i + 1;
        EXPECT_EQ(clock().ColourMode, modes[i]) << "step " << i + 1;
    }
}

TEST_F(Mouse, ACountOutsideTheCycleChangesNoColourAndHoldsAtTheLimits)
{
    struct Row
    {
        std::int16_t loaded;
        Qt::MouseButton button;
        int doubleClicks;
        std::int16_t after;
        core::units::Colour colour;
    };
    const core::units::Colour untouched = core::units::rgbColour(1, 2, 3);
    const core::units::Colour white = core::units::rgbColour(255, 255, 255); // the small look's, kept on the way back
    const Row rows[] = {
        {7, Qt::LeftButton, 2, 9, untouched},
        {-3, Qt::LeftButton, 1, -2, untouched},
        {32767, Qt::LeftButton, 1, 32767, untouched},
        {32766, Qt::LeftButton, 3, 32767, untouched},
        // Out to small and back to big: the count is unchanged, even at the bottom.
        {-32768, Qt::RightButton, 2, -32768, white},
        {32767, Qt::RightButton, 2, 32767, white},
    };
    for (const Row &row : rows) {
        resetLooks();
        clock().ColourMode = row.loaded;
        face().setForeColor(untouched);
        for (int i = 0; i < row.doubleClicks; ++i)
            doubleClick(row.button);
        EXPECT_EQ(clock().ColourMode, row.after) << row.loaded;
        EXPECT_EQ(face().ForeColor(), row.colour) << row.loaded;
    }
}

TEST_F(Mouse, TheWindowFollowsThePointerAndTheEdgesPullAndHold)
{
    clock().Bounce.setEnabled(true);
    QTest::mousePress(&face(), Qt::LeftButton, {}, spot()); // pointer at (210, 208)
    EXPECT_EQ(clock().Dragging, -1);

    pointerTo(500, 300);
    EXPECT_EQ(clock().Left(), 500 * 15 - 150);
    EXPECT_EQ(clock().Top(), 300 * 15 - 120);

    // A bounce tick between two moves: the next move puts the window back
    // under the pointer.
    clock().DirX = 1;
    clock().DirY = 1;
    clock().SpeedX = 130;
    clock().SpeedY = 65;
    clock().Bounce_Timer();
    EXPECT_EQ(clock().Top(), 300 * 15 - 120 + 130);
    pointerTo(520, 310);
    EXPECT_EQ(clock().Left(), 520 * 15 - 150);
    EXPECT_EQ(clock().Top(), 310 * 15 - 120);

    // Up to 150 twips below the top edge, then one pixel further: pulled on.
    pointerTo(520, 18);
    EXPECT_EQ(clock().Top(), 150);
    pointerTo(520, 17);
    EXPECT_EQ(clock().Top(), 0);
    // It holds until the pointer is 200 twips below where it holds the label.
    pointerTo(520, 21);
    EXPECT_EQ(clock().Top(), 0);
    pointerTo(520, 25);
    EXPECT_EQ(clock().Top(), 25 * 15 - 120);

    QTest::mouseRelease(&face(), Qt::LeftButton, {}, face().mapFromGlobal(QPoint(520, 25)));
    EXPECT_EQ(clock().Dragging, 0);
    EXPECT_FALSE(clock().Bounce.Enabled()) << "the release's click stops bouncing";
    const float left = clock().Left();
    pointerTo(700, 500);
    EXPECT_EQ(clock().Left(), left) << "no drag after the release";
}

TEST_F(Mouse, ARightButtonDragMovesTheWindowAndOpensTheSettings)
{
    QTest::mousePress(&face(), Qt::RightButton, {}, spot());
    pointerTo(600, 450);
    QTest::mouseRelease(&face(), Qt::RightButton, {}, face().mapFromGlobal(QPoint(600, 450)));
    EXPECT_EQ(clock().Left(), 600 * 15 - 150);
    EXPECT_EQ(clock().Top(), 450 * 15 - 120);
    EXPECT_TRUE(settings().isVisible());
}
