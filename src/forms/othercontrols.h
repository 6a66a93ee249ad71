// SPDX-License-Identifier: MIT
#pragma once
// The remaining controls of the settings and about windows: frames, command
// buttons and the multi-line text box (which passes Tab on to the next
// control), with the colours and captions the windows set on them.

#include "core/units/colour.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>

namespace forms {

class FrameControl : public QGroupBox
{
    Q_OBJECT
public:
    FrameControl(QWidget *parent, const QString &caption);

    core::units::Colour BackColor() const { return back_; }
    void setBackColor(core::units::Colour colour);

private:
    core::units::Colour back_ = 0;
};

class ButtonControl : public QPushButton
{
    Q_OBJECT
public:
    ButtonControl(QWidget *parent, const QString &caption);

    std::function<void()> onClick;
};

class MemoControl : public QPlainTextEdit
{
    Q_OBJECT
public:
    MemoControl(QWidget *parent, const QString &designText);

    QString Text() const { return toPlainText(); }
    void setTextFromCode(const QString &text);
};

// Paints a widget's background in a colour (frames, check boxes, windows).
void setWidgetBackColor(QWidget &widget, core::units::Colour colour);

} // namespace forms
