// The clock window's settings file: loaded at start-up, saved at exit.

#include "form1.h"

#include "platform.h"
#include "tockaapp.h"

void Form1::LoadSettings()
{
    // Without a settings file the window sits at the top, its right edge 20
    // twips from the right edge of the screen.
    SettingVersion = QStringLiteral("2.0");
    setTop(0);
    setLeft(static_cast<float>(app_.platform().screenTwips(this).width()) - Width() - 20);
}

void Form1::SaveSettings()
{
}
