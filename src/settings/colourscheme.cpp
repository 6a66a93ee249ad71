// The colour scheme editor: decimal and hex colour boxes kept in step.

#include "frmsetting.h"

void FrmSetting::ViewChange(const QString &)
{
}
