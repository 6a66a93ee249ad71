// SPDX-License-Identifier: MIT
#include "forms/textboxcontrol.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

#include <algorithm>

namespace forms {

TextBoxControl::TextBoxControl(QWidget *parent, const QString &designText, int maxLength)
    : QLineEdit(parent)
    , maxLength_(maxLength > 0 ? maxLength : 32767)
{
    relaxLimitTo(designText.size());
    setText(designText);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (onChange)
            onChange();
    });
    // Once the user shortens a long text that code put there, the limit
    // tightens back, never below what the box holds.
    connect(this, &QLineEdit::textEdited, this, [this] { relaxLimitTo(text().size()); });
}

void TextBoxControl::relaxLimitTo(qsizetype length)
{
    setMaxLength(static_cast<int>(std::max<qsizetype>(maxLength_, length)));
}

void TextBoxControl::setTextFromCode(const QString &text)
{
    // QLineEdit cuts a text at its limit; the limit is for typing only.
    relaxLimitTo(text.size());
    setText(text);
    // Shown and read from its start: a narrow box showing the tail of a long
    // number shows a wrong number. Only a handler correcting the key just
    // typed into this box leaves the caret at the end, so the next keys do
    // not go to the front.
    setCursorPosition(handlingKey_ ? static_cast<int>(text.size()) : 0);
}

int TextBoxControl::keyAsciiOf(const QKeyEvent *event)
{
    const int key = event->key();
    if ((event->modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    default:
        break;
    }
    const QString t = event->text();
    if (t.size() == 1 && t[0].unicode() != 127)
        return t[0].unicode();
    return -1;
}

void TextBoxControl::keyPressEvent(QKeyEvent *event)
{
    const QScopedValueRollback<bool> handling(handlingKey_, true);
    const int code = keyAsciiOf(event);
    if (code < 0 || !onKeyPress) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    std::int16_t keyAscii = static_cast<std::int16_t>(std::clamp(code, -32768, 32767));
    onKeyPress(keyAscii);
    if (keyAscii == 0) {
        event->accept();
        return;
    }
    if (keyAscii == code) {
        // Enter does nothing more in a single-line box: the hook has seen it.
        if (code == 13) {
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    // The hook replaced the character: type the new one instead.
    const QChar c(static_cast<char16_t>(keyAscii));
    QKeyEvent replaced(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QLineEdit::keyPressEvent(&replaced);
}

} // namespace forms
