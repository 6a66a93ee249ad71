// SPDX-License-Identifier: MIT
#pragma once
// Tocka's icon in the desktop's system tray: the session time (and the time
// away in it) as its tooltip, and a menu that reaches the settings and about
// windows, switches starting at login and counting time away, and ends
// Tocka. The rest of the program reaches it only through
// the hooks below, and it reaches the rest only through them.

#include "core/session/awayline.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QIcon;
class QMenu;
class QSystemTrayIcon;

namespace tocka {

class TrayIcon : public QObject
{
    Q_OBJECT
public:
    struct Hooks
    {
        std::function<void()> showSettings;
        std::function<void()> showAbout;
        std::function<void()> quit;
        std::function<void(const QString &)> tellUser;
        QString program; // the program file that the login entry starts
        std::function<bool()> countingAway;
        std::function<void(bool)> setCountingAway;
    };

    TrayIcon(const QIcon &icon, Hooks hooks, QObject *parent = nullptr);
    ~TrayIcon() override;

    void show();
    // The tooltip: the session's time and, when it is counted, the time
    // away in it.
    void setSessionTime(const QString &clockText, const std::optional<core::session::AwaySeconds> &away = {});
    QString toolTip() const;

    QMenu &menu() { return *menu_; }
    QAction &startAtLogin() { return *startAtLogin_; }
    QAction &countTimeAway() { return *countTimeAway_; }

private:
    void toggleStartAtLogin(bool on);
    void refresh();

    Hooks hooks_;
    std::unique_ptr<QMenu> menu_;
    QAction *startAtLogin_ = nullptr;
    QAction *countTimeAway_ = nullptr;
    QSystemTrayIcon *tray_ = nullptr;
};

} // namespace tocka
