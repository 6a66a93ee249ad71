// Tocka: a small clock face that shows how long this session at the computer
// has run and logs each session when it ends.

#include "appversion.h"
#include "journal.h"
#include "qtplatform.h"
#include "sessionend.h"
#include "tockaapp.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Before anything else: a SIGTERM while the display connection or the
    // window is still being set up must still end the session the normal way.
    SessionEndWatcher::catchSignals();

    // Bouncing and dragging move the window by itself, which needs global
    // window positions; Wayland gives a client none, XWayland does.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tocka"));
    QApplication::setApplicationVersion(applicationVersionText());
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setDesktopFileName(QStringLiteral("tocka"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tocka")));

    QtPlatform platform(QStringLiteral("tocka"));
    TockaApp tocka(platform, sessionlog::Journal::defaultFolder());
    QObject::connect(&tocka, &TockaApp::finished, &application, &QCoreApplication::quit);

    SessionEndWatcher watcher;
    watcher.watchSignals();
    watcher.watchSessionManager();
    watcher.watchShutdown();
    QObject::connect(&watcher, &SessionEndWatcher::ending, &tocka,
                     [&](SessionEndWatcher::Reason reason, int signalNumber) {
                         std::fprintf(stderr, "tocka: ending on %s%s, logging the session\n",
                                      SessionEndWatcher::reasonName(reason),
                                      signalNumber ? qPrintable(QStringLiteral(" %1").arg(signalNumber)) : "");
                         tocka.endSession();
                         watcher.releaseShutdownLock();
                     });

    tocka.start();
    return QApplication::exec();
}
