// SPDX-License-Identifier: MIT
#pragma once
// The colour scheme editor: the decimal and hex colour boxes kept in step
// with each other and with the clock face.

#include <QString>

namespace links { class TockaWindows; }

namespace settings {

class FrmSetting;

class ColourSchemeEditor
{
public:
    ColourSchemeEditor(FrmSetting &window, links::TockaWindows &app)
        : s_(window)
        , app_(app)
    {
    }

    // "num": the decimal boxes were edited; "hex": the hex boxes were. Either
    // way the other boxes follow and the face takes the colours.
    void ViewChange(const QString &VCCallFrom);

private:
    FrmSetting &s_;
    links::TockaWindows &app_;
};

} // namespace settings
