// SPDX-License-Identifier: MIT
#include "forms/othercontrols.h"

#include "forms/qcolour.h"

namespace forms {

FrameControl::FrameControl(QWidget *parent, const QString &caption)
    : QGroupBox(caption, parent)
{
    setAccessibleName(caption.trimmed());
}

void FrameControl::setBackColor(core::units::Colour colour)
{
    back_ = colour;
    setWidgetBackColor(*this, colour);
}

ButtonControl::ButtonControl(QWidget *parent, const QString &caption)
    : QPushButton(caption, parent)
{
    setAccessibleName(caption);
    connect(this, &QPushButton::clicked, this, [this] {
        if (onClick)
            onClick();
    });
}

MemoControl::MemoControl(QWidget *parent, const QString &designText)
    : QPlainTextEdit(designText, parent)
{
    // A note, not a place to type tabs: Tab moves on to the next control.
    setTabChangesFocus(true);
}

void MemoControl::setTextFromCode(const QString &text)
{
    if (text == toPlainText())
        return;
    setPlainText(text);
    moveCursor(QTextCursor::Start);
}

void setWidgetBackColor(QWidget &widget, core::units::Colour colour)
{
    QPalette p = widget.palette();
    p.setColor(QPalette::Window, toQColor(colour));
    p.setColor(QPalette::Button, toQColor(colour));
    widget.setPalette(p);
    widget.setAutoFillBackground(true);
}

} // namespace forms
