// The clock face and the mouse: dragging, clicks and double clicks.

#include "form1.h"

#include "clockmotion.h"
#include "fonts.h"
#include "frmsetting.h"
#include "numbers.h"
#include "platform.h"
#include "tockaapp.h"
#include "twips.h"

namespace {

constexpr float kSmallWidth = 450;
constexpr float kSmallHeight = 130;
constexpr float kBigWidth = 1220;
constexpr float kBigHeight = 275;

} // namespace

void Form1::wireMouseAndMotion()
{
    Label1.onMouseDown = [this](int b, int s, float x, float y) { Label1_MouseDown(b, s, x, y); };
    Label1.onMouseMove = [this](int b, int s, float x, float y) { Label1_MouseMove(b, s, x, y); };
    Label1.onMouseUp = [this](int b, int s, float x, float y) { Label1_MouseUp(b, s, x, y); };
    Label1.onClick = [this] { Label1_Click(); };
    Label1.onDblClick = [this] { Label1_DblClick(); };
    // While the window moves itself the local positions Qt reports lag behind
    // the move; the pointer's global position against the window's own record
    // of where it stands is exact, and the label sits at the window's corner.
    Label1.mapGlobalToTwips = [this](QPointF global) {
        return QPointF(twips::fromPixels(global.x()) - Left(), twips::fromPixels(global.y()) - Top());
    };

    Bounce.onTimer = [this] { Bounce_Timer(); };
    TockaAlarmTimer.onTimer = [this] { TockaAlarmTimer_Timer(); };
}

void Form1::Label1_MouseDown(int Button, int, float X, float Y)
{
    DragStartX = X;
    DragStartY = Y;
    Dragging = -1;
    LastMouseButton = static_cast<std::int16_t>(Button);
}

void Form1::Label1_MouseMove(int, int, float X, float Y)
{
    if (!Dragging)
        return;
    // Bounce ticks may have moved the window since the last event: the step
    // starts from where it stands now.
    const QSizeF screen = app_.platform().screenTwips(this);
    const motion::Place to
        = motion::dragStep({Left(), Top()}, Width(), Height(), static_cast<float>(screen.width()),
                           static_cast<float>(screen.height()), X - DragStartX, Y - DragStartY);
    if (to.top != Top() || to.left != Left())
        setPosition(to.left, to.top);
}

void Form1::Label1_MouseUp(int, int, float, float)
{
    Dragging = 0;
}

void Form1::Label1_Click()
{
    if (Bounce.Enabled())
        Bounce.setEnabled(false);
    if (LastMouseButton == 2)
        app_.FrmSetting().Show();
}

void Form1::Label1_DblClick()
{
    Label1_Click();
    if (LastMouseButton == 1)
        CycleClockColour();
    Bounce.setEnabled(!Bounce.Enabled());
    app_.FrmSetting().BunInt.setTextFromCode(num::text(Bounce.Interval()));
    if (LastMouseButton == 2)
        switchWindowSize();
}

void Form1::CycleClockColour()
{
    stepColourFrom(ColourMode);
}

void Form1::stepColourFrom(int mode)
{
    const motion::CycleStep step = motion::cycleStep(mode);
    ColourMode = step.mode;
    if (step.colour)
        Label1.setForeColor(*step.colour);
}

void Form1::switchWindowSize()
{
    if (WindowSizeMode == QLatin1String("BIG")) {
        setHeight(kSmallHeight);
        setWidth(kSmallWidth);
        Label1.setFont(fonts::font(QStringLiteral("Small Fonts"), 6, false));
        // The label keeps its big height, so left-aligned text sits at its top
        // where the small window still shows it.
        Label1.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Label1.setForeColor(rgbColour(255, 255, 255));
        WindowSizeMode = QStringLiteral("SMALL");
        return;
    }
    setHeight(kBigHeight);
    setWidth(kBigWidth);
    applyBigLook();
    WindowSizeMode = QStringLiteral("BIG");
    // One step back and one forward re-applies the colour of the cycle
    // position; done on a wide intermediate so the bottom of the 16-bit range
    // neither overflows nor drifts.
    stepColourFrom(static_cast<int>(ColourMode) - 1);
}
