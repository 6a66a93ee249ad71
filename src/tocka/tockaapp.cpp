// SPDX-License-Identifier: MIT
#include "tocka/tockaapp.h"

#include "platform/platform.h"
#include "tocka/trayicon.h"

#include <QCoreApplication>
#include <QIcon>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>

namespace tocka {

TockaApp::TockaApp(platform::Platform &platform, QString journalFolder, QString spareJournalFolder)
    : platform_(platform)
    , journalFolders_(QStringList{std::move(journalFolder), std::move(spareJournalFolder)})
    , form1_([this] {
        auto *form = new clockwindow::Form1(*this);
        connect(form, &QObject::destroyed, this, &TockaApp::finished);
        return form;
    })
    , settings_([this] { return new settings::FrmSetting(*this); })
    , about_([this] { return new about::frmAbout(platform_, title()); })
{
    journalFolders_.removeAll(QString());
}

TockaApp::~TockaApp()
{
    tray_.reset();
    // The program is over: the windows go without their unload handlers.
    about_.destroy();
    settings_.destroy();
    form1_.destroy();
}

clockwindow::Form1 &TockaApp::form1()
{
    return form1_.get();
}

bool TockaApp::isForm1Loaded() const
{
    return form1_.isLoaded();
}

settings::FrmSetting &TockaApp::FrmSetting()
{
    return settings_.get();
}

bool TockaApp::isFrmSettingLoaded() const
{
    return settings_.isLoaded();
}

about::frmAbout &TockaApp::frmAbout()
{
    return about_.get();
}

bool TockaApp::isFrmAboutLoaded() const
{
    return about_.isLoaded();
}

void TockaApp::showAbout(QWidget *opener)
{
    frmAbout().ShowOver(opener);
}

void TockaApp::start()
{
    form1().Show();
}

bool TockaApp::refusedAsSecondCopy() const
{
    const clockwindow::Form1 *clock = form1_.peek();
    return clock && clock->refusedAsSecondCopy();
}

void TockaApp::endSession()
{
    desktopEnding_ = true;
    // A refused copy has nothing to log or save: it need not wait for its
    // message to be answered.
    if (refusedAsSecondCopy())
        platform_.endProcessNow();
    if (!isForm1Loaded())
        return; // ended already: there is no session left to end
    // As the settings window's Command1 ends Tocka: that window first (its
    // unload hands the always-on-top choice to the clock window), then the
    // clock window. Left open, it would be closed as the program quits, and
    // its unload, finding no clock window, would start a new session that
    // nobody ends.
    about_.unload();
    settings_.unload();
    form1_.unload();
}

void TockaApp::tellUser(const QString &message)
{
    if (desktopEnding_)
        return;
    platform_.messageBox(message, title());
}

void TockaApp::offerTray(const QIcon &icon)
{
    auto tryNow = [this, icon] {
        if (tray_ || !isForm1Loaded() || !QSystemTrayIcon::isSystemTrayAvailable())
            return;
        tray_ = std::make_unique<TrayIcon>(
            icon, TrayIcon::Hooks{[this] { FrmSetting().Show(); }, // as a right click on the face
                                  [this] { frmAbout().Show(); },
                                  // Exactly what the settings window's Command1 does.
                                  [this] { FrmSetting().Command1_Click(); },
                                  [this](const QString &message) { tellUser(message); },
                                  QCoreApplication::applicationFilePath(),
                                  [this] { return isForm1Loaded() && form1().countingAway(); },
                                  [this](bool on) {
                                      if (isForm1Loaded())
                                          form1().setCountingAway(on);
                                  }});
        clockwindow::Form1 &clock = form1();
        // The title changes with the face, once a second.
        connect(&clock, &QWidget::windowTitleChanged, tray_.get(), [this, &clock] {
            tray_->setSessionTime(clock.session.ClockText,
                                  clock.countingAway() ? std::optional(clock.awayNow()) : std::nullopt);
        });
        tray_->show();
    };
    tryNow();
    if (tray_)
        return;
    connect(&trayWatch_, &QTimer::timeout, this, [this, tryNow] {
        tryNow();
        if (tray_ || --trayTries_ <= 0)
            trayWatch_.stop();
    });
    trayWatch_.start(2000);
}

} // namespace tocka
