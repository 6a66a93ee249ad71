// SPDX-License-Identifier: MIT
#pragma once
// A check box with the values 0 (unchecked), 1 (checked) and 2 (grayed). Its
// click hook runs whenever the value changes, also when code sets it; a click
// by the user toggles between 0 and 1 only.

#include "core/units/colour.h"

#include <QCheckBox>

#include <functional>

namespace forms {

class CheckBoxControl : public QCheckBox
{
    Q_OBJECT
public:
    CheckBoxControl(QWidget *parent, const QString &caption, int designValue);

    int Value() const;
    // Values other than 0, 1 and 2 are refused and leave the box as it is;
    // returns whether the value was taken.
    bool setValue(int value);

    core::units::Colour BackColor() const { return back_; }
    void setBackColor(core::units::Colour colour);

    std::function<void()> onClick;

protected:
    void nextCheckState() override;

private:
    core::units::Colour back_ = 0;
};

} // namespace forms
