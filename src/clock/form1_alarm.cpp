// The break alarm: counts down a period of minutes and beeps when it runs out.

#include "form1.h"

void Form1::InitAlarm()
{
}

void Form1::AlarmActivate()
{
}

void Form1::TockaAlarmTimer_Timer()
{
}
