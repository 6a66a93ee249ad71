#include "othercontrols.h"

#include "qcolour.h"

FrameControl::FrameControl(QWidget *parent, const QString &caption)
    : QGroupBox(caption, parent)
{
    setAccessibleName(caption.trimmed());
}

void FrameControl::setBackColor(Colour colour)
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
}

void MemoControl::setTextFromCode(const QString &text)
{
    if (text != toPlainText())
        setPlainText(text);
}

void setWidgetBackColor(QWidget &widget, Colour colour)
{
    QPalette p = widget.palette();
    p.setColor(QPalette::Window, toQColor(colour));
    p.setColor(QPalette::Button, toQColor(colour));
    widget.setPalette(p);
    widget.setAutoFillBackground(true);
}
