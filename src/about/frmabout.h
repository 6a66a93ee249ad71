// SPDX-License-Identifier: MIT
#pragma once
// Tocka's about window: title, version, a few words of history and
// disclaimer, and a link to the home page, which is Tocka's own documentation
// installed beside it.

#include "form.h"
#include "labelcontrol.h"
#include "othercontrols.h"

#include <QString>

class Platform;

class frmAbout : public Form
{
    Q_OBJECT
public:
    frmAbout(Platform &platform, QString applicationTitle);
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
    static constexpr Colour kLinkColour = 0xFF0000; // blue
    static constexpr Colour kLinkPressedColour = 32768; // green

    LabelControl picIcon{this};
    LabelControl lblTitle{this};
    LabelControl lblVersion{this, QStringLiteral("Version:")};
    LabelControl lblHistory{this};
    LabelControl lblDisclaimer{this};
    LabelControl lblHomePageLink{this, QStringLiteral("Tocka home page")};
    ButtonControl cmdOK{this, QStringLiteral("OK")};

private:
    Platform &platform_;
    QString title_;
};
