// SPDX-License-Identifier: MIT
#include "forms/labelcontrol.h"

#include "core/units/twips.h"
#include "forms/qcolour.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>

namespace forms {

namespace {

// What a reader gets of a label: the text it shows, as name and as text, so
// it can read a report of many lines whole or line by line. The text is read
// only, with no selection and the caret at the start.
class ShownTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    ShownTextAccessible(QWidget *widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    {
    }

    virtual QString shown() const = 0;

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && !shown().isEmpty())
            return shown();
        return QAccessibleWidget::text(t);
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override
    {
        const QString all = shown();
        const int size = static_cast<int>(all.size());
        startOffset = std::clamp(startOffset, 0, size);
        endOffset = endOffset < 0 ? size : std::clamp(endOffset, startOffset, size); // -1: to the end
        return all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(shown().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = std::max(offset, characterCount());
        return {};
    }
};

// A label of ours: its caption, read as a button or a link when a key
// clicks it.
class LabelAccessible : public ShownTextAccessible
{
public:
    explicit LabelAccessible(LabelControl *label)
        : ShownTextAccessible(label, roleOf(label))
    {
    }

    static QAccessible::Role roleOf(const LabelControl *label)
    {
        switch (label->keyboardClick()) {
        case LabelControl::KeyboardClick::AsButton:
            return QAccessible::Button;
        case LabelControl::KeyboardClick::AsLink:
            return QAccessible::Link;
        case LabelControl::KeyboardClick::None:
            break;
        }
        return label->text().isEmpty() && !label->pixmap().isNull() ? QAccessible::Graphic
                                                                     : QAccessible::StaticText;
    }

    LabelControl *label() const { return static_cast<LabelControl *>(widget()); }

    QString shown() const override { return label()->text(); }

    QAccessible::Role role() const override { return roleOf(label()); }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (label()->isKeyboardClickable())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction() && label()->isKeyboardClickable()) {
            if (label()->onClick)
                label()->onClick();
            return;
        }
        QAccessibleWidget::doAction(action);
    }
};

// Any other label of the programs (Tallio's History window has some) is read
// the same way: the text it shows, without the & of its shortcut key, as
// name and as text.
class PlainLabelAccessible : public ShownTextAccessible
{
public:
    explicit PlainLabelAccessible(QLabel *label)
        : ShownTextAccessible(label, QAccessible::StaticText)
    {
    }

    QString shown() const override
    {
        const auto *label = static_cast<const QLabel *>(widget());
        QString text = label->text();
        if (label->buddy()) {
            // "&&" shows as "&"; a lone "&" only marks the shortcut key.
            text.replace(QLatin1String("&&"), QStringLiteral("\x1f"));
            text.remove(QLatin1Char('&'));
            text.replace(QChar(0x1f), QLatin1Char('&'));
        }
        return text;
    }
};

QAccessibleInterface *labelAccessibleFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String(LabelControl::staticMetaObject.className()))
        return new LabelAccessible(static_cast<LabelControl *>(object));
    if (className == QLatin1String("QLabel"))
        return new PlainLabelAccessible(static_cast<QLabel *>(object));
    return nullptr;
}

void installLabelAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(labelAccessibleFactory);
        return true;
    }();
    (void)installed;
}

} // namespace

LabelControl::LabelControl(QWidget *parent, const QString &caption)
    : QLabel(caption, parent)
{
    installLabelAccessibility();
    setAutoFillBackground(true);
    applyPalette();
}

void LabelControl::setKeyboardClick(KeyboardClick kind)
{
    keyboardClick_ = kind;
    setFocusPolicy(isKeyboardClickable() ? Qt::StrongFocus : Qt::NoFocus);
    update();
}

namespace {

bool pressesIt(const QKeyEvent *event)
{
    if (event->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier))
        return false;
    const int key = event->key();
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

bool LabelControl::event(QEvent *event)
{
    // Enter on a focused link follows the link, before the window's default
    // button can take the key as its shortcut.
    if (event->type() == QEvent::ShortcutOverride && isKeyboardClickable()
        && pressesIt(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QLabel::event(event);
}

void LabelControl::keyPressEvent(QKeyEvent *event)
{
    if (isKeyboardClickable() && !event->isAutoRepeat() && pressesIt(event)) {
        event->accept();
        if (onClick)
            onClick();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LabelControl::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!isKeyboardClickable() || !hasFocus())
        return;
    // Without a frame of its own, the focus must be drawn or the keyboard
    // user cannot tell the picture holds it.
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

void LabelControl::setForeColor(core::units::Colour colour)
{
    fore_ = colour;
    applyPalette();
}

void LabelControl::setBackColor(core::units::Colour colour)
{
    back_ = colour;
    applyPalette();
}

void LabelControl::applyPalette()
{
    QPalette p = palette();
    // The fore colour is for a label in use. A disabled one keeps the grey
    // text the style gives every disabled control, or it would read as
    // usable beside the greyed boxes it belongs to.
    p.setColor(QPalette::Active, QPalette::WindowText, toQColor(fore_));
    p.setColor(QPalette::Inactive, QPalette::WindowText, toQColor(fore_));
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
    return {core::units::pixelsToTwips(p.x()), core::units::pixelsToTwips(p.y())};
}

bool LabelControl::isOnLabel(const QMouseEvent *event) const
{
    const QPointF p = event->position();
    return p.x() >= 0 && p.y() >= 0 && p.x() < width() && p.y() < height();
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
    // The release that ends a double click reports no click of its own, and
    // one away from the label takes the press back: a click is a press and a
    // release on the same control. The label keeps the mouse from the press,
    // so only where the release is can tell.
    const bool endsDoubleClick = releaseEndsDoubleClick_;
    releaseEndsDoubleClick_ = false;
    if (!endsDoubleClick && (movesUnderThePointer || isOnLabel(event)) && onClick)
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

} // namespace forms
