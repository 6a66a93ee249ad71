// SPDX-License-Identifier: MIT
#include "forms/form.h"

#include "core/units/twips.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QWindow>

namespace forms {

namespace {

// A plain widget that is a window (a form, or another window of the
// programs built on a plain widget) reads as a mere pane to a screen reader,
// which then does not announce it as a window when it comes up.
QAccessibleInterface *formAccessibleFactory(const QString &className, QObject *object)
{
    auto *window = qobject_cast<QWidget *>(object);
    if (!window || !window->isWindow() || (!qobject_cast<Form *>(object) && className != QLatin1String("QWidget")))
        return nullptr;
    const bool dialog = (window->windowType() & Qt::WindowType_Mask) == Qt::Dialog;
    return new QAccessibleWidget(window, dialog ? QAccessible::Dialog : QAccessible::Window);
}

} // namespace

Form::Form(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
    static const bool accessible = [] {
        QAccessible::installFactory(formAccessibleFactory);
        return true;
    }();
    (void)accessible;
    setAttribute(Qt::WA_DeleteOnClose, false); // the slot decides when it goes
    const QRect g = geometry();
    left_ = core::units::pixelsToTwips(g.x());
    top_ = core::units::pixelsToTwips(g.y());
    width_ = core::units::pixelsToTwips(g.width());
    height_ = core::units::pixelsToTwips(g.height());
}

Form::~Form() = default;

void Form::setLeft(float t)
{
    left_ = t;
    applyGeometry();
}

void Form::setTop(float t)
{
    top_ = t;
    applyGeometry();
}

void Form::setWidth(float t)
{
    width_ = t;
    applyGeometry();
}

void Form::setHeight(float t)
{
    height_ = t;
    applyGeometry();
}

void Form::setPosition(float left, float top)
{
    left_ = left;
    top_ = top;
    applyGeometry();
}

void Form::applyGeometry()
{
    applying_ = true;
    const QPoint pos(core::units::twipsToPixels(left_), core::units::twipsToPixels(top_));
    const QSize size(std::max(0, core::units::twipsToPixels(width_)), std::max(0, core::units::twipsToPixels(height_)));
    if (size != this->size())
        resize(size);
    if (pos != this->pos())
        moveWindow(pos);
    applying_ = false;
}

void Form::Show()
{
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    show();
}

void Form::ShowOver(QWidget *opener)
{
    QWidget *owner = opener ? opener->window() : nullptr;
    if (owner && owner != this) {
        winId(); // the native windows must exist to be tied together
        owner->winId();
        if (windowHandle() && owner->windowHandle())
            windowHandle()->setTransientParent(owner->windowHandle());
    }
    Show();
    raise();
    activateWindow();
}

void Form::Unload()
{
    close();
}

void Form::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (unloaded_)
        return;
    unloaded_ = true;
    Form_Unload();
    hide();
    if (onUnloaded_) {
        auto callback = std::move(onUnloaded_);
        onUnloaded_ = nullptr;
        callback();
    }
}

void Form::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // Someone else moved the window (the window manager, a user dragging its
    // frame): take the new place over. Our own moves keep their fraction.
    if (!applying_ && event->pos() != QPoint(core::units::twipsToPixels(left_), core::units::twipsToPixels(top_))) {
        left_ = core::units::pixelsToTwips(event->pos().x());
        top_ = core::units::pixelsToTwips(event->pos().y());
    }
}

void Form::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!applying_ && event->size() != QSize(core::units::twipsToPixels(width_), core::units::twipsToPixels(height_))) {
        width_ = core::units::pixelsToTwips(event->size().width());
        height_ = core::units::pixelsToTwips(event->size().height());
    }
}

} // namespace forms
