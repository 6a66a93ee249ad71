// SPDX-License-Identifier: MIT
#pragma once

namespace links { class TockaWindows; }

namespace clockwindow {
// The clock face and the mouse: dragging with any button, a click that stops
// the bouncing (a right one shows the settings window), and double clicks
// that bounce, step the colour cycle or switch between the big and the small
// face.

class Form1;

class FaceGestures
{
public:
    FaceGestures(Form1 &clock, links::TockaWindows &app)
        : clock_(clock)
        , app_(app)
    {
    }

    // Connects the face label's mouse events.
    void wire();

    void mouseDown(int button, float x, float y);
    void mouseMove(float x, float y);
    void mouseUp();
    void click();
    void doubleClick();
    void cycleColour();

private:
    void stepColourFrom(int mode);
    void switchWindowSize();

    Form1 &clock_;
    links::TockaWindows &app_;
};

} // namespace clockwindow
