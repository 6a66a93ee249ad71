// SPDX-License-Identifier: MIT
#pragma once
// A single-line text box with a maximum length that binds the user only (code
// may set a longer text), a key hook that sees each typed character's code
// first and may discard it (0) or replace it, and a change hook that runs when
// the text changes, from code or from the user. A text set from code shows
// from its start, unless it corrects a key just typed into the box.

#include <QLineEdit>

#include <cstdint>
#include <functional>

namespace forms {

class TextBoxControl : public QLineEdit
{
    Q_OBJECT
public:
    TextBoxControl(QWidget *parent, const QString &designText, int maxLength);

    QString Text() const { return text(); }
    void setTextFromCode(const QString &text);

    int MaxLength() const { return maxLength_; }

    // The character code of a key event as the key hook sees it: the typed
    // character, or the control code of Ctrl+letter (Ctrl+V is 22); -1 when
    // the key types nothing (arrows, Delete, function keys).
    static int keyAsciiOf(const QKeyEvent *event);

    std::function<void(std::int16_t &keyAscii)> onKeyPress;
    std::function<void()> onChange;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void relaxLimitTo(qsizetype length);

    int maxLength_;
    bool handlingKey_ = false;
};

} // namespace forms
