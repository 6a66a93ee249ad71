// Loading the settings window, its key handlers, the apply procedures and
// closing it.

#include "frmsetting.h"

void FrmSetting::wireLoadAndApply()
{
}

void FrmSetting::Form_Load()
{
}

void FrmSetting::Form_Unload()
{
}

void FrmSetting::chkOnTop_Click()
{
}

void FrmSetting::BunInt_Change()
{
}

void FrmSetting::Command1_Click()
{
}
