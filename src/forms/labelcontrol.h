// SPDX-License-Identifier: MIT
#pragma once
// A label that reports the mouse as the programs expect: positions in twips
// relative to the label, button codes 1 left, 2 right, 4 middle, a click only
// for a press and a release both on the label, and a double click delivered as
// press, release, click, double click, release.
//
// To assistive technology a label is what it shows: its accessible name and
// text are its caption, whatever fixed name it was given, so a reader never
// hears a summary in place of the text. Only a label without text (a picture)
// is known by its accessible name.

#include "core/units/colour.h"

#include <QLabel>

#include <functional>

namespace forms {

class LabelControl : public QLabel
{
    Q_OBJECT
public:
    explicit LabelControl(QWidget *parent, const QString &caption = {});

    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }

    core::units::Colour ForeColor() const { return fore_; }
    void setForeColor(core::units::Colour colour);
    core::units::Colour BackColor() const { return back_; }
    void setBackColor(core::units::Colour colour);

    // Mouse handlers: (button, shift, x, y) with x and y in twips.
    using MouseHandler = std::function<void(int, int, float, float)>;
    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;
    std::function<void()> onClick;
    std::function<void()> onDblClick;

    // Maps an event's global position to the label's own twips. By default the
    // label's place on the screen as Qt knows it; a window that moves itself
    // while dragged supplies its own record of where it is.
    std::function<QPointF(QPointF globalPixels)> mapGlobalToTwips;

    // A label whose window moves itself (dragged along, bouncing) can slip
    // from under a pointer that never left it: then every release after a
    // press on it is its click.
    bool movesUnderThePointer = false;

    // A label that acts on a click (a picture, a link) can also be reached
    // with Tab and pressed with Space or Enter, which runs the click handler.
    enum class KeyboardClick { None, AsButton, AsLink };
    void setKeyboardClick(KeyboardClick kind);
    KeyboardClick keyboardClick() const { return keyboardClick_; }
    bool isKeyboardClickable() const { return keyboardClick_ != KeyboardClick::None; }

    static int buttonCode(Qt::MouseButton button);
    static int buttonsCode(Qt::MouseButtons buttons);
    static int shiftCode(Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPointF twipsOf(const QMouseEvent *event) const;
    bool isOnLabel(const QMouseEvent *event) const;
    void applyPalette();

    core::units::Colour fore_ = 0;
    core::units::Colour back_ = 0xFFFFFF;
    bool releaseEndsDoubleClick_ = false;
    KeyboardClick keyboardClick_ = KeyboardClick::None;
};

} // namespace forms
