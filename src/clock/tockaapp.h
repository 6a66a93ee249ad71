#pragma once
// The Tocka program: its platform, its windows (each at most once, created on
// first use) and how it ends.

#include "journal.h"
#include "formslot.h"

#include <QObject>
#include <QString>

class Form1;
class FrmSetting;
class frmAbout;
class Platform;

class TockaApp : public QObject
{
    Q_OBJECT
public:
    TockaApp(Platform &platform, QString journalFolder);
    ~TockaApp() override;

    static QString title() { return QStringLiteral("Tocka!"); }

    Platform &platform() { return platform_; }
    sessionlog::Journal &journal() { return journal_; }

    Form1 &form1();
    bool isForm1Loaded() const;
    // The settings window, created hidden on first use.
    ::FrmSetting &FrmSetting();
    bool isFrmSettingLoaded() const;
    // The about window, created hidden on first use.
    ::frmAbout &frmAbout();
    bool isFrmAboutLoaded() const;

    // Loads the clock window, writes the sessions earlier runs left owed
    // into their logs, and shows the window.
    void start();

    // The desktop session is ending (a signal, logout, shutdown): close the
    // clock window the normal way, with no questions asked.
    void endSession();
    bool desktopEnding() const { return desktopEnding_; }

    // A message for the user: a message box while someone is there to read
    // it, standard error only while the desktop is going away.
    void tellUser(const QString &message);

Q_SIGNALS:
    // The clock window has unloaded: the program is done.
    void finished();

private:
    Platform &platform_;
    sessionlog::Journal journal_;
    FormSlot<Form1> form1_;
    FormSlot<::FrmSetting> settings_;
    FormSlot<::frmAbout> about_;
    bool desktopEnding_ = false;
};
