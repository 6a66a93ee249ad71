// SPDX-License-Identifier: MIT
#include "clock/facegestures.h"

#include "clock/form1.h"
#include "core/clock/clockmotion.h"
#include "core/text/numbers.h"
#include "core/units/twips.h"
#include "forms/fonts.h"
#include "forms/textboxcontrol.h"
#include "links/settingspanel.h"
#include "links/tockawindows.h"
#include "platform/platform.h"

namespace clockwindow {

void FaceGestures::wire()
{
    Form1 &c = clock_;
    forms::LabelControl &face = c.Label1;
    face.onMouseDown = [&c](int b, int s, float x, float y) { c.Label1_MouseDown(b, s, x, y); };
    face.onMouseMove = [&c](int b, int s, float x, float y) { c.Label1_MouseMove(b, s, x, y); };
    face.onMouseUp = [&c](int b, int s, float x, float y) { c.Label1_MouseUp(b, s, x, y); };
    face.onClick = [&c] { c.Label1_Click(); };
    face.onDblClick = [&c] { c.Label1_DblClick(); };
    // While the window moves itself the local positions Qt reports lag behind
    // the move; the pointer's global position against the window's own record
    // of where it stands is exact, and the label sits at the window's corner.
    face.mapGlobalToTwips = [&c](QPointF global) {
        return QPointF(core::units::pixelsToTwips(global.x()) - c.Left(), core::units::pixelsToTwips(global.y()) - c.Top());
    };
    face.movesUnderThePointer = true;
}

void FaceGestures::mouseDown(int button, float x, float y)
{
    Form1 &c = clock_;
    c.DragStartX = x;
    c.DragStartY = y;
    c.Dragging = -1;
    c.LastMouseButton = static_cast<std::int16_t>(button);
}

void FaceGestures::mouseMove(float x, float y)
{
    Form1 &c = clock_;
    if (!c.Dragging)
        return;
    // Bounce ticks may have moved the window since the last event: the step
    // starts from where it stands now.
    const QSizeF screen = app_.platform().screenTwips(&c);
    const core::clock::Place to
        = core::clock::dragStep({c.Left(), c.Top()}, c.Width(), c.Height(), static_cast<float>(screen.width()),
                           static_cast<float>(screen.height()), x - c.DragStartX, y - c.DragStartY);
    if (to.top != c.Top() || to.left != c.Left())
        c.setPosition(to.left, to.top);
}

void FaceGestures::mouseUp()
{
    clock_.Dragging = 0;
}

void FaceGestures::click()
{
    Form1 &c = clock_;
    if (c.Bounce.Enabled())
        c.Bounce.setEnabled(false);
    if (c.LastMouseButton == 2)
        app_.FrmSetting().window().Show();
}

void FaceGestures::doubleClick()
{
    Form1 &c = clock_;
    click();
    if (c.LastMouseButton == 1)
        cycleColour();
    c.Bounce.setEnabled(!c.Bounce.Enabled());
    app_.FrmSetting().bounceIntervalBox().setTextFromCode(core::text::numberText(c.Bounce.Interval()));
    if (c.LastMouseButton == 2)
        switchWindowSize();
}

void FaceGestures::cycleColour()
{
    stepColourFrom(clock_.ColourMode);
}

void FaceGestures::stepColourFrom(int mode)
{
    const core::clock::CycleStep step = core::clock::cycleStep(mode);
    clock_.ColourMode = step.mode;
    if (step.colour)
        clock_.Label1.setForeColor(*step.colour);
}

void FaceGestures::switchWindowSize()
{
    Form1 &c = clock_;
    if (c.WindowSizeMode == QLatin1String("BIG")) {
        c.setHeight(Form1::kSmallHeight);
        c.setWidth(Form1::kSmallWidth);
        c.Label1.setFont(forms::fonts::font(QStringLiteral("Small Fonts"), 6, false));
        // The label keeps its big height, so left-aligned text sits at its top
        // where the small window still shows it.
        c.Label1.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        c.Label1.setForeColor(core::units::rgbColour(255, 255, 255));
        c.WindowSizeMode = QStringLiteral("SMALL");
        return;
    }
    c.setHeight(Form1::kBigHeight);
    c.setWidth(Form1::kBigWidth);
    c.applyBigLook();
    c.WindowSizeMode = QStringLiteral("BIG");
    // One step back and one forward re-applies the colour of the cycle
    // position; done on a wide intermediate so the bottom of the 16-bit range
    // neither overflows nor drifts.
    stepColourFrom(static_cast<int>(c.ColourMode) - 1);
}

} // namespace clockwindow
