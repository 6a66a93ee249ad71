// SPDX-License-Identifier: MIT
#include "tocka/trayicon.h"

#include "core/clock/sessionclock.h"
#include "core/desktop/autostart.h"

#include <QAction>
#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

namespace tocka {

TrayIcon::TrayIcon(const QIcon &icon, Hooks hooks, QObject *parent)
    : QObject(parent)
    , hooks_(std::move(hooks))
    , menu_(std::make_unique<QMenu>())
{
    menu_->setAccessibleName(QStringLiteral("Tocka"));
    auto add = [this](const QString &text, const QString &tip, const std::function<void()> &run) {
        QAction *action = menu_->addAction(text);
        action->setToolTip(tip);
        connect(action, &QAction::triggered, this, [run] {
            if (run)
                run();
        });
        return action;
    };
    add(QStringLiteral("&Settings"), QStringLiteral("Shows the settings window"), hooks_.showSettings);
    add(QStringLiteral("&About"), QStringLiteral("Shows the title and version of Tocka"), hooks_.showAbout);
    startAtLogin_ = menu_->addAction(QStringLiteral("Start at &login"));
    startAtLogin_->setToolTip(
        QStringLiteral("Starts Tocka whenever you log in (%1)").arg(core::desktop::autostartEntryPath()));
    startAtLogin_->setCheckable(true);
    connect(startAtLogin_, &QAction::triggered, this, &TrayIcon::toggleStartAtLogin);
    countTimeAway_ = menu_->addAction(QStringLiteral("Count &time away"));
    countTimeAway_->setToolTip(QStringLiteral("Notes beside each session how long the computer slept, the screen was "
                                              "locked or nobody used it (LogAway.log)"));
    countTimeAway_->setCheckable(true);
    connect(countTimeAway_, &QAction::triggered, this, [this](bool on) {
        if (hooks_.setCountingAway)
            hooks_.setCountingAway(on);
        refresh();
    });
    menu_->addSeparator();
    add(QStringLiteral("&Quit"), QStringLiteral("Ends Tocka: logs this session and saves the settings"), hooks_.quit);
    menu_->setToolTipsVisible(true);
    // The entry may have been added or removed by hand since.
    connect(menu_.get(), &QMenu::aboutToShow, this, &TrayIcon::refresh);
    refresh();

    tray_ = new QSystemTrayIcon(icon, this);
    tray_->setContextMenu(menu_.get());
    setSessionTime(QString());
    // A click on the icon itself opens the menu too, as the keyboard reaches
    // a tray icon only through its activation.
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            menu_->popup(QCursor::pos());
    });
}

TrayIcon::~TrayIcon()
{
    delete tray_; // before the menu it points to
}

void TrayIcon::show()
{
    tray_->show();
}

void TrayIcon::setSessionTime(const QString &clockText, const std::optional<core::session::AwaySeconds> &away)
{
    QString tip = clockText.isEmpty() ? QStringLiteral("Tocka") : QStringLiteral("Tocka: ") + clockText;
    if (away) {
        const auto time = [](qint64 seconds) { return core::clock::clockFaceText(static_cast<double>(seconds)); };
        tip += QStringLiteral("\nAway in it: %1 (locked %2, idle %3)")
                   .arg(time(away->withinLength()), time(away->locked), time(away->idle));
        // A sleeping machine adds nothing to the session's time.
        if (away->asleep > 0)
            tip += QStringLiteral("\nThe computer slept %1 besides").arg(time(away->asleep));
    }
    tray_->setToolTip(tip);
}

QString TrayIcon::toolTip() const
{
    return tray_->toolTip();
}

void TrayIcon::refresh()
{
    startAtLogin_->setChecked(core::desktop::isAutostartEnabled());
    countTimeAway_->setChecked(hooks_.countingAway && hooks_.countingAway());
}

void TrayIcon::toggleStartAtLogin(bool on)
{
    QString error;
    const bool done = on ? core::desktop::enableAutostart(hooks_.program, &error) : core::desktop::disableAutostart(&error);
    refresh();
    if (!done && hooks_.tellUser)
        hooks_.tellUser(error);
}

} // namespace tocka
