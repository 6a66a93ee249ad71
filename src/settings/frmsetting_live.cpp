// The option panels, colour fading and the picture.

#include "frmsetting.h"

void FrmSetting::wireLiveBehaviour()
{
}

void FrmSetting::TockaMode_Click()
{
}

void FrmSetting::ChkFade_Click()
{
}

void FrmSetting::SettingFormTimer_Timer()
{
}

void FrmSetting::Image1_Click()
{
}
