#include "labelcontrol.h"

#include "qcolour.h"
#include "twips.h"

#include <QMouseEvent>

LabelControl::LabelControl(QWidget *parent, const QString &caption)
    : QLabel(caption, parent)
{
    setAutoFillBackground(true);
    applyPalette();
}

void LabelControl::setForeColor(Colour colour)
{
    fore_ = colour;
    applyPalette();
}

void LabelControl::setBackColor(Colour colour)
{
    back_ = colour;
    applyPalette();
}

void LabelControl::applyPalette()
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, toQColor(fore_));
    p.setColor(QPalette::Window, toQColor(back_));
    setPalette(p);
}

int LabelControl::buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int LabelControl::buttonsCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0);
}

int LabelControl::shiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

QPointF LabelControl::twipsOf(const QMouseEvent *event) const
{
    if (mapGlobalToTwips)
        return mapGlobalToTwips(event->globalPosition());
    const QPointF p = event->position();
    return {twips::fromPixels(p.x()), twips::fromPixels(p.y())};
}

void LabelControl::mousePressEvent(QMouseEvent *event)
{
    releaseEndsDoubleClick_ = false;
    const QPointF t = twipsOf(event);
    if (onMouseDown)
        onMouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), static_cast<float>(t.x()),
                    static_cast<float>(t.y()));
    event->accept();
}

void LabelControl::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF t = twipsOf(event);
    if (onMouseMove)
        onMouseMove(buttonsCode(event->buttons()), shiftCode(event->modifiers()), static_cast<float>(t.x()),
                    static_cast<float>(t.y()));
    event->accept();
}

void LabelControl::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF t = twipsOf(event);
    if (onMouseUp)
        onMouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), static_cast<float>(t.x()),
                  static_cast<float>(t.y()));
    // The release that ends a double click reports no click of its own.
    const bool endsDoubleClick = releaseEndsDoubleClick_;
    releaseEndsDoubleClick_ = false;
    if (!endsDoubleClick && onClick)
        onClick();
    event->accept();
}

void LabelControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Qt sends the second press of a double click as this event alone; it is
    // the double click, and its release follows.
    releaseEndsDoubleClick_ = true;
    if (onDblClick)
        onDblClick();
    event->accept();
}
