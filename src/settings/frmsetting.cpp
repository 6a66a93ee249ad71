#include "frmsetting.h"

#include "tockaapp.h"

FrmSetting::FrmSetting(TockaApp &app)
    : Form(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , app_(app)
{
    setObjectName(QStringLiteral("FrmSetting"));
    setCaption(QStringLiteral("Zemlo Settings"));
    setBackColor(back_);
    chkOnTop.setBackColor(rgbColour(0, 192, 192));
    ChkClockFade.setEnabled(false);
    ChkClockFaceFade.setEnabled(false);
    ChkSettingFormFade.setEnabled(false);
    ChkSettingFrameFade.setEnabled(false);
    wireLoadAndApply();
    wireLiveBehaviour();
}

FrmSetting::~FrmSetting() = default;

void FrmSetting::setBackColor(Colour colour)
{
    back_ = colour;
    setWidgetBackColor(*this, colour);
}
