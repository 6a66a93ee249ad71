// SPDX-License-Identifier: MIT
#include "settings/colourschemeeditor.h"

#include "core/text/numbers.h"
#include "core/text/numericentry.h"
#include "links/clockface.h"
#include "links/tockawindows.h"
#include "settings/boxnumbers.h"
#include "settings/frmsetting.h"

#include <algorithm>

namespace settings {

namespace {

int component(core::units::Colour colour, int shift)
{
    return static_cast<int>((static_cast<std::uint32_t>(colour) >> shift) & 0xFF);
}

// A decimal box as the colour takes it: a 16-bit whole number; `inForce` when
// the box holds no number at all.
int componentOf(const forms::TextBoxControl &box, int inForce)
{
    const auto v = core::text::numberOf(box.Text());
    return v ? core::text::toInt16Clamped(*v) : inForce;
}

// Two upper-case hex digits of a component box.
QString hexPair(const forms::TextBoxControl &box)
{
    const int value = std::clamp(componentOf(box, 0), 0, 255);
    return core::text::hexText(value).rightJustified(2, QLatin1Char('0'));
}

// A component decoded from hex digits. Two hex digits always lie in 0..255;
// characters pasted past the filter that are no hex digits would make it
// negative, and a colour has no negative component.
QString decodedComponent(QStringView digits)
{
    return QString::number(std::clamp(core::text::Hex2Dec(digits), 0, 255));
}

} // namespace

void ColourSchemeEditor::ViewChange(const QString &VCCallFrom)
{
    FrmSetting &s = s_;
    forms::LabelControl &face = app_.form1().faceLabel();
    const core::units::Colour fore = face.ForeColor();
    const core::units::Colour back = face.BackColor();

    if (VCCallFrom == QLatin1String("num")) {
        for (forms::TextBoxControl *box : {&s.BacBlue, &s.BacGreen, &s.BacRed, &s.ForBlue, &s.ForGreen, &s.ForRed}) {
            if (box->Text().isEmpty())
                box->setTextFromCode(QStringLiteral("0"));
        }
        const std::pair<forms::TextBoxControl *, int> boxes[] = {
            {&s.ForRed, component(fore, 0)}, {&s.ForGreen, component(fore, 8)}, {&s.ForBlue, component(fore, 16)},
            {&s.BacRed, component(back, 0)}, {&s.BacGreen, component(back, 8)}, {&s.BacBlue, component(back, 16)},
        };
        for (const auto &[box, inForce] : boxes) {
            const double v = boxnumbers::take(*box, inForce);
            boxnumbers::limit(*box, v, 0, 255);
        }
        s.ForeHex.setTextFromCode(hexPair(s.ForRed));
        s.ForeHex.setTextFromCode(s.ForeHex.Text() + hexPair(s.ForGreen));
        s.ForeHex.setTextFromCode(s.ForeHex.Text() + hexPair(s.ForBlue));
        s.BackHex.setTextFromCode(hexPair(s.BacRed));
        s.BackHex.setTextFromCode(s.BackHex.Text() + hexPair(s.BacGreen));
        s.BackHex.setTextFromCode(s.BackHex.Text() + hexPair(s.BacBlue));
    }

    if (VCCallFrom == QLatin1String("hex")) {
        s.ForeHex.setTextFromCode(s.ForeHex.Text().toUpper());
        s.BackHex.setTextFromCode(s.BackHex.Text().toUpper());
        // Red is the first pair, blue the last, green the last two of the
        // first four: a short text shares its digits out (ABC: AB, BC, BC).
        auto fill = [](const QString &hex, forms::TextBoxControl &red, forms::TextBoxControl &green,
                        forms::TextBoxControl &blue) {
            red.setTextFromCode(decodedComponent(QStringView(hex).left(2)));
            blue.setTextFromCode(decodedComponent(QStringView(hex).right(2)));
            green.setTextFromCode(decodedComponent(QStringView(hex).left(4).right(2)));
        };
        fill(s.ForeHex.Text(), s.ForRed, s.ForGreen, s.ForBlue);
        fill(s.BackHex.Text(), s.BacRed, s.BacGreen, s.BacBlue);
    }

    face.setForeColor(core::units::rgbColour(componentOf(s.ForRed, component(fore, 0)),
                                        componentOf(s.ForGreen, component(fore, 8)),
                                        componentOf(s.ForBlue, component(fore, 16))));
    face.setBackColor(core::units::rgbColour(componentOf(s.BacRed, component(back, 0)),
                                        componentOf(s.BacGreen, component(back, 8)),
                                        componentOf(s.BacBlue, component(back, 16))));
}

} // namespace settings
