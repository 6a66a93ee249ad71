// SPDX-License-Identifier: MIT
// Not a test: runs Tocka's real windows on the real platform with one of the
// live behaviours switched on, so what it costs can be measured from outside
// (bench/live_cpu.sh) and what it looks like can be seen.
//
//   tocka_liveprobe bounce|fade|fade-all|alarm|about|idle SECONDS
//
// idle is Tocka as it runs while nobody touches it: its clock ticking and
// time away counted (bench/live_cpu.sh runs it with and without a desktop's
// buses, and with someone away).

#include "about/frmabout.h"
#include "clock/form1.h"
#include "platform/qtplatform.h"
#include "settings/frmsetting.h"
#include "tocka/tockaapp.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s bounce|fade|fade-all|alarm|about|idle SECONDS\n", argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    platform::QtPlatform platform(QStringLiteral("tocka-liveprobe"));
    tocka::TockaApp tocka(platform, QDir::current().filePath(QStringLiteral("liveprobe-checkpoint")));
    tocka.start();

    const char *mode = argv[1];
    if (std::strcmp(mode, "bounce") == 0) {
        tocka.form1().Bounce.setEnabled(true); // the default 60 ms
    } else if (std::strncmp(mode, "fade", 4) == 0) {
        // As a saved "AllowFading" of 1 does at start-up, at the default 150 ms.
        settings::FrmSetting &settings = tocka.FrmSetting();
        settings.ChkFade.setValue(1);
        settings.ChkClockFade.setValue(1);
        settings.ChkClockFaceFade.setValue(1);
        if (std::strcmp(mode, "fade-all") == 0) {
            settings.ChkSettingFormFade.setValue(1);
            settings.ChkSettingFrameFade.setValue(1);
            settings.Show();
        }
    } else if (std::strcmp(mode, "alarm") == 0) {
        // Periods of 0 minutes: every tick after the beeping beeps again, so
        // the five-second loop runs nearly all the time.
        settings::FrmSetting &settings = tocka.FrmSetting();
        settings.AlarmInterval.setTextFromCode(QStringLiteral("0"));
        settings.tockUntil.setTextFromCode(QStringLiteral("0"));
        settings.TockaMode.setValue(0);
        settings.TockaMode.setValue(1);
    } else if (std::strcmp(mode, "about") == 0) {
        tocka.frmAbout().Show();
    }
    QTimer::singleShot(std::atoi(argv[2]) * 1000, &application, &QCoreApplication::quit);
    return QApplication::exec();
}
