#include "qtplatform.h"

#include "twips.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QLockFile>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#ifdef TOCKA_HAVE_CANBERRA
#include <canberra.h>
#endif

// The desktop's own event sound. QApplication::beep() rings the X bell, which
// most Linux desktops keep silent, so the sound theme's "bell" goes through
// libcanberra whenever the sound system takes it.
class Sound
{
public:
    Sound() = default;
    Sound(const Sound &) = delete;
    Sound &operator=(const Sound &) = delete;
    ~Sound()
    {
#ifdef TOCKA_HAVE_CANBERRA
        close();
#endif
    }

    // True when the sound system accepted the sound.
    bool play()
    {
#ifdef TOCKA_HAVE_CANBERRA
        // Where sound failed, asking again at every beep would only fail again
        // (and fill standard error with the sound library's complaints): ask
        // about once per alarm, in case a sound server has come up since.
        if (skip_ > 0) {
            --skip_;
            return false;
        }
        if (!context_ && !open()) {
            skip_ = kRetryEvery - 1;
            return false;
        }
        if (ca_context_play(context_, 0, CA_PROP_EVENT_ID, "bell", CA_PROP_EVENT_DESCRIPTION, "Break alarm",
                            CA_PROP_CANBERRA_CACHE_CONTROL, "volatile", nullptr)
            == CA_SUCCESS)
            return true;
        // No device to play on, or no such sound in the theme.
        close();
        skip_ = kRetryEvery - 1;
        return false;
#else
        return false;
#endif
    }

private:
#ifdef TOCKA_HAVE_CANBERRA
    bool open()
    {
        if (ca_context_create(&context_) != CA_SUCCESS) {
            context_ = nullptr;
            return false;
        }
        // Only a sound server, never ALSA directly: without a server, ALSA's
        // default device does not exist on a desktop install and the library
        // prints a dozen lines of complaints per try, and the bell would play
        // past the desktop's mixer anyway.
        if (ca_context_set_driver(context_, "pulse") != CA_SUCCESS) {
            close();
            return false;
        }
        ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Tocka", CA_PROP_APPLICATION_ID, "tocka", nullptr);
        if (ca_context_open(context_) == CA_SUCCESS)
            return true;
        close();
        return false;
    }

    void close()
    {
        if (context_)
            ca_context_destroy(context_);
        context_ = nullptr;
    }

    // A beep every half second: ten tries make one alarm.
    static constexpr int kRetryEvery = 10;
    ca_context *context_ = nullptr;
    int skip_ = 0;
#endif
};

QtPlatform::QtPlatform(QString instanceKey)
    : instanceKey_(std::move(instanceKey))
{
}

QtPlatform::~QtPlatform() = default;

float QtPlatform::secondsSinceMidnight() const
{
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay() / 1000.0);
}

QDate QtPlatform::today() const
{
    return QDate::currentDate();
}

QTime QtPlatform::timeOfDay() const
{
    // Whole seconds, as the logs and the clock face show them.
    const QTime now = QTime::currentTime();
    return QTime(now.hour(), now.minute(), now.second());
}

QSizeF QtPlatform::screenTwips(const QWidget *widget) const
{
    QScreen *screen = widget ? widget->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QSize px = screen->geometry().size();
    return {twips::fromPixels(px.width()), twips::fromPixels(px.height())};
}

void QtPlatform::messageBox(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
    box.setAccessibleName(title);
    box.setAccessibleDescription(text);
    box.exec();
}

void QtPlatform::beep()
{
    if (!sound_)
        sound_ = std::make_unique<Sound>();
    const bool played = sound_->play();
    if (!played)
        QApplication::beep();
    // One line when the way the alarm sounds changes, not one per beep: it
    // tells whoever wonders why they hear nothing where to look.
    const SoundWay way = played ? SoundWay::Server : SoundWay::XBell;
    if (way != soundWay_) {
        soundWay_ = way;
        std::fputs(played ? "tocka: the alarm sounds through the sound server\n"
                          : "tocka: no sound server answers (PulseAudio or PipeWire, through libcanberra-pulse); "
                            "the alarm rings the X bell\n",
                   stderr);
    }
}

void QtPlatform::processPendingEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtPlatform::waitForEvents(int maxWaitMs)
{
    // The single-shot wakes the wait up when nothing else does.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(std::max(0, maxWaitMs));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtPlatform::randomize(float seed)
{
    std::uint32_t bits = 0;
    static_assert(sizeof bits == sizeof seed);
    std::memcpy(&bits, &seed, sizeof bits);
    generator_.seed(bits % 2147483646u + 1u); // its seed must not be 0 modulo 2^31 - 1
}

float QtPlatform::rnd()
{
    std::uniform_real_distribution<float> uniform(0.0f, 1.0f);
    float r = uniform(generator_);
    return r < 1.0f ? r : 0.0f; // some libraries can return the upper bound for float
}

bool QtPlatform::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

QString QtPlatform::lockFilePath(const QString &instanceKey)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QLatin1Char('/') + instanceKey + QLatin1String(".lock");
}

bool QtPlatform::claimSingleInstance()
{
    if (lock_)
        return lock_->isLocked();
    lock_ = std::make_unique<QLockFile>(lockFilePath(instanceKey_));
    // Stale time 0: a lock is never stale by age, only when the process that
    // holds it is gone, so a copy that crashed never blocks the next start and
    // a copy that runs for weeks is never taken for a crashed one.
    lock_->setStaleLockTime(0);
    return lock_->tryLock(0);
}

void QtPlatform::endProcessNow()
{
    std::fflush(nullptr);
    ::_exit(0);
}

QString QtPlatform::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}
