// The colour scheme editor: decimal and hex colour boxes kept in step.

#include "frmsetting.h"

#include "boxnumbers.h"
#include "form1.h"
#include "numbers.h"
#include "numericentry.h"
#include "tockaapp.h"

#include <algorithm>

namespace {

int component(Colour colour, int shift)
{
    return static_cast<int>((static_cast<std::uint32_t>(colour) >> shift) & 0xFF);
}

// A decimal box as the colour takes it: a 16-bit whole number; `inForce` when
// the box holds no number at all.
int componentOf(const TextBoxControl &box, int inForce)
{
    const auto v = numericentry::numberOf(box.Text());
    return v ? num::toInt16Clamped(*v) : inForce;
}

// Two upper-case hex digits of a component box.
QString hexPair(const TextBoxControl &box)
{
    const int value = std::clamp(componentOf(box, 0), 0, 255);
    return numericentry::hexText(value).rightJustified(2, QLatin1Char('0'));
}

// A component decoded from hex digits. Two hex digits always lie in 0..255;
// characters pasted past the filter that are no hex digits would make it
// negative, and a colour has no negative component.
QString decodedComponent(QStringView digits)
{
    return QString::number(std::clamp(numericentry::Hex2Dec(digits), 0, 255));
}

} // namespace

void FrmSetting::ViewChange(const QString &VCCallFrom)
{
    Form1 &clock = app_.form1();
    const Colour fore = clock.Label1.ForeColor();
    const Colour back = clock.Label1.BackColor();

    if (VCCallFrom == QLatin1String("num")) {
        for (TextBoxControl *box : {&BacBlue, &BacGreen, &BacRed, &ForBlue, &ForGreen, &ForRed}) {
            if (box->Text().isEmpty())
                box->setTextFromCode(QStringLiteral("0"));
        }
        const std::pair<TextBoxControl *, int> boxes[] = {
            {&ForRed, component(fore, 0)}, {&ForGreen, component(fore, 8)}, {&ForBlue, component(fore, 16)},
            {&BacRed, component(back, 0)}, {&BacGreen, component(back, 8)}, {&BacBlue, component(back, 16)},
        };
        for (const auto &[box, inForce] : boxes) {
            const double v = boxnumbers::take(*box, inForce);
            boxnumbers::limit(*box, v, 0, 255);
        }
        ForeHex.setTextFromCode(hexPair(ForRed));
        ForeHex.setTextFromCode(ForeHex.Text() + hexPair(ForGreen));
        ForeHex.setTextFromCode(ForeHex.Text() + hexPair(ForBlue));
        BackHex.setTextFromCode(hexPair(BacRed));
        BackHex.setTextFromCode(BackHex.Text() + hexPair(BacGreen));
        BackHex.setTextFromCode(BackHex.Text() + hexPair(BacBlue));
    }

    if (VCCallFrom == QLatin1String("hex")) {
        ForeHex.setTextFromCode(ForeHex.Text().toUpper());
        BackHex.setTextFromCode(BackHex.Text().toUpper());
        // Red is the first pair, blue the last, green the last two of the
        // first four: a short text shares its digits out (ABC: AB, BC, BC).
        auto fill = [](const QString &hex, TextBoxControl &red, TextBoxControl &green, TextBoxControl &blue) {
            red.setTextFromCode(decodedComponent(QStringView(hex).left(2)));
            blue.setTextFromCode(decodedComponent(QStringView(hex).right(2)));
            green.setTextFromCode(decodedComponent(QStringView(hex).left(4).right(2)));
        };
        fill(ForeHex.Text(), ForRed, ForGreen, ForBlue);
        fill(BackHex.Text(), BacRed, BacGreen, BacBlue);
    }

    clock.Label1.setForeColor(rgbColour(componentOf(ForRed, component(fore, 0)),
                                        componentOf(ForGreen, component(fore, 8)),
                                        componentOf(ForBlue, component(fore, 16))));
    clock.Label1.setBackColor(rgbColour(componentOf(BacRed, component(back, 0)),
                                        componentOf(BacGreen, component(back, 8)),
                                        componentOf(BacBlue, component(back, 16))));
}
