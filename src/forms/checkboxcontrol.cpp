// SPDX-License-Identifier: MIT
#include "forms/checkboxcontrol.h"

#include "forms/othercontrols.h"

namespace forms {

CheckBoxControl::CheckBoxControl(QWidget *parent, const QString &caption, int designValue)
    : QCheckBox(caption, parent)
{
    setTristate(true);
    setValue(designValue);
    connect(this, &QCheckBox::stateChanged, this, [this] {
        if (onClick)
            onClick();
    });
}

int CheckBoxControl::Value() const
{
    switch (checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    }
    return 0;
}

bool CheckBoxControl::setValue(int value)
{
    switch (value) {
    case 0:
        setCheckState(Qt::Unchecked);
        return true;
    case 1:
        setCheckState(Qt::Checked);
        return true;
    case 2:
        setCheckState(Qt::PartiallyChecked);
        return true;
    default:
        return false;
    }
}

void CheckBoxControl::nextCheckState()
{
    // A user's click never grays the box; from grayed it clears.
    setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
}

void CheckBoxControl::setBackColor(core::units::Colour colour)
{
    back_ = colour;
    setWidgetBackColor(*this, colour);
}

} // namespace forms
