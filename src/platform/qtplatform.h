// SPDX-License-Identifier: MIT
#pragma once

#include "core/files/lockfile.h"
#include "platform/platform.h"

#include <QString>

#include <memory>
#include <random>

namespace platform {

class DesktopPresence;
class ThemeSound;
class X11MoveEchoes;

// The platform of a real desktop session.
class QtPlatform : public Platform
{
public:
    // `instanceKey` names the single-copy lock ("tocka" for Tocka).
    explicit QtPlatform(QString instanceKey);
    ~QtPlatform() override;

    float secondsSinceMidnight() const override;
    QDate today() const override;
    QTime timeOfDay() const override;
    QDateTime currentUtc() const override;
    qint64 monotonicMs() const override;
    qint64 bootMs() const override;
    QSizeF screenTwips(const QWidget *widget = nullptr) const override;
    void moveWindow(QWidget &window, QPoint topLeft) override;
    void messageBox(const QString &text, const QString &title) override;
    void beep() override;
    void processPendingEvents() override;
    void waitForEvents(int maxWaitMs) override;
    void randomize(float seed) override;
    float rnd() override;
    bool openUrl(const QUrl &url) override;
    bool claimSingleInstance() override;
    QString singleInstanceProblem() const override { return lockProblem_; }
    [[noreturn]] void endProcessNow() override;
    QString programFolder() const override;
    std::optional<qint64> idleMs() override;
    bool screenLocked() override;
    std::optional<bool> idleInhibited() override;
    void watchLock(std::function<void(bool locked, qint64 monotonicMs)> changed) override;

    // Where the single-copy lock lives: the user's runtime folder.
    static QString lockFilePath(const QString &instanceKey);

private:
    DesktopPresence &presence();

    QString instanceKey_;
    core::files::LockFile lock_;
    bool claimed_ = false;
    QString lockProblem_;
    // Reseeded at every bounce and fade tick: a generator whose seeding costs
    // next to nothing, unlike the Mersenne twister's 624 words.
    std::minstd_rand generator_;
    std::unique_ptr<ThemeSound> sound_;
    std::unique_ptr<X11MoveEchoes> moveEchoes_; // under X11 only
    std::unique_ptr<DesktopPresence> presence_; // made on first use
    enum class SoundWay { Unknown, Server, XBell };
    SoundWay soundWay_ = SoundWay::Unknown;
};

} // namespace platform
