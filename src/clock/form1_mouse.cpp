// The clock face and the mouse: dragging, clicks and double clicks.

#include "form1.h"

#include "frmsetting.h"
#include "tockaapp.h"

void Form1::wireMouseAndMotion()
{
    Label1.onMouseDown = [this](int b, int s, float x, float y) { Label1_MouseDown(b, s, x, y); };
    Label1.onMouseMove = [this](int b, int s, float x, float y) { Label1_MouseMove(b, s, x, y); };
    Label1.onMouseUp = [this](int b, int s, float x, float y) { Label1_MouseUp(b, s, x, y); };
    Label1.onClick = [this] { Label1_Click(); };
    Label1.onDblClick = [this] { Label1_DblClick(); };
}

void Form1::Label1_MouseDown(int Button, int, float X, float Y)
{
    DragStartX = X;
    DragStartY = Y;
    Dragging = -1;
    LastMouseButton = static_cast<std::int16_t>(Button);
}

void Form1::Label1_MouseMove(int, int, float, float)
{
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
}

void Form1::CycleClockColour()
{
}
