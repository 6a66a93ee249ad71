// SPDX-License-Identifier: MIT
#pragma once
// Tocka's about window: title, version, a few words of history and
// disclaimer, and a link to the home page, which is Tocka's own documentation
// installed beside it.

#include "forms/form.h"
#include "forms/labelcontrol.h"
#include "forms/othercontrols.h"

#include <QString>

namespace platform { class Platform; }

namespace about {

class frmAbout : public forms::Form
{
    Q_OBJECT
public:
    frmAbout(platform::Platform &platform, QString applicationTitle);
    ~frmAbout() override;

    void Form_Load() override;
    void cmdOK_Click();
    void lblHomePageLink_Click();
    void lblHomePageLink_MouseDown(int Button, int Shift, float X, float Y);
    void lblHomePageLink_MouseUp(int Button, int Shift, float X, float Y);

    // The home page file: the first of its usual places that holds it, or
    // the installed place when none does.
    static QString homePageFile();

    // The link's colours, released and pressed.
    static constexpr core::units::Colour kLinkColour = 0xFF0000; // blue
    static constexpr core::units::Colour kLinkPressedColour = 32768; // green

    forms::LabelControl picIcon{this};
    forms::LabelControl lblTitle{this};
    forms::LabelControl lblVersion{this, QStringLiteral("Version:")};
    forms::LabelControl lblHistory{this};
    forms::LabelControl lblDisclaimer{this};
    forms::LabelControl lblHomePageLink{this, QStringLiteral("Tocka home page")};
    forms::ButtonControl cmdOK{this, QStringLiteral("OK")};

private:
    platform::Platform &platform_;
    QString title_;
};

} // namespace about
