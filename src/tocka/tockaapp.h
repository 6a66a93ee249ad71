// SPDX-License-Identifier: MIT
#pragma once
// The Tocka program: its platform, its windows (each at most once, created on
// first use) and how it ends.

#include "about/frmabout.h"
#include "clock/form1.h"
#include "forms/formslot.h"
#include "links/tockawindows.h"
#include "settings/frmsetting.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace platform { class Platform; }
class QIcon;

namespace tocka {

class TrayIcon;

class TockaApp : public QObject, public links::TockaWindows
{
    Q_OBJECT
public:
    TockaApp(platform::Platform &platform, QString journalFolder, QString spareJournalFolder = {});
    ~TockaApp() override;

    platform::Platform &platform() override { return platform_; }
    QStringList journalFolders() const override { return journalFolders_; }

    clockwindow::Form1 &form1() override;
    bool isForm1Loaded() const override;
    // The settings window, created hidden on first use.
    settings::FrmSetting &FrmSetting() override;
    bool isFrmSettingLoaded() const override;
    // The about window, created hidden on first use.
    about::frmAbout &frmAbout();
    bool isFrmAboutLoaded() const;
    void showAbout(QWidget *opener) override;

    // Loads the clock window (which starts the session and writes the
    // sessions earlier runs left owed into their logs) and shows it.
    void start();

    // The desktop session is ending (a signal, logout, shutdown): close the
    // clock window the normal way, with no questions asked.
    void endSession();
    bool desktopEnding() const { return desktopEnding_; }
    // A copy refused because another runs, still showing why it ends.
    bool refusedAsSecondCopy() const;

    // A message for the user: a message box while someone is there to read
    // it, standard error only while the desktop is going away.
    void tellUser(const QString &message) override;

    // Puts Tocka's icon and menu into the desktop's system tray, where there
    // is one. At login the tray may come up after Tocka, so it is looked for
    // again every two seconds for half a minute.
    void offerTray(const QIcon &icon);
    TrayIcon *tray() const { return tray_.get(); }

Q_SIGNALS:
    // The clock window has unloaded: the program is done.
    void finished();

private:
    platform::Platform &platform_;
    QStringList journalFolders_;
    forms::FormSlot<clockwindow::Form1> form1_;
    forms::FormSlot<settings::FrmSetting> settings_;
    forms::FormSlot<about::frmAbout> about_;
    bool desktopEnding_ = false;
    std::unique_ptr<TrayIcon> tray_;
    QTimer trayWatch_;
    int trayTries_ = 15;
};

} // namespace tocka
