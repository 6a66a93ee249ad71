// SPDX-License-Identifier: MIT
#pragma once
// How a Tocka window finds the others. Each window exists at most once and is
// created, hidden, on first use; the composition root owns them and hands
// this to every window it makes, so no window includes another's header.

#include <QString>
#include <QStringList>

class QWidget;
namespace platform { class Platform; }

namespace links {

class ClockFace;
class SettingsPanel;

class TockaWindows
{
public:
    virtual ~TockaWindows() = default;

    static QString title() { return QStringLiteral("Tocka!"); }

    virtual platform::Platform &platform() = 0;
    // Where sessions owed to the logs are kept until the logs have them:
    // the journal, then a spare one for when it cannot be written.
    virtual QStringList journalFolders() const = 0;

    virtual ClockFace &form1() = 0;
    virtual bool isForm1Loaded() const = 0;
    virtual SettingsPanel &FrmSetting() = 0;
    virtual bool isFrmSettingLoaded() const = 0;
    // Shows the about window above the window that opened it.
    virtual void showAbout(QWidget *opener) = 0;

    // A message for the user: a message box while someone is there to read
    // it, standard error only while the desktop is going away.
    virtual void tellUser(const QString &message) = 0;

protected:
    TockaWindows() = default;
    TockaWindows(const TockaWindows &) = default;
    TockaWindows &operator=(const TockaWindows &) = default;
};

} // namespace links
