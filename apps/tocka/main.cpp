// SPDX-License-Identifier: MIT
// Tocka: a small clock face that shows how long this session at the computer
// has run and logs each session when it ends.

#include "core/desktop/appversion.h"
#include "core/desktop/commandline.h"
#include "core/desktop/folders.h"
#include "forms/programicon.h"
#include "platform/qtplatform.h"
#include "platform/sessionend.h"
#include "tocka/tockaapp.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

namespace {

const core::desktop::Program kProgram{
    "tocka", "tocka [--help | --version]",
    "Shows a small clock face with the time this session at the computer has run.\n"
    "When it closes it appends the session to Log.log and LogData.log in the\n"
    "folder it was started in, and saves its settings to LogSetin.ini.\n"
    "Started from the desktop menu or at login it runs in ~/.local/share/tocka\n"
    "($XDG_DATA_HOME/tocka) instead. It takes no other arguments.\n"};

} // namespace

int main(int argc, char *argv[])
{
    // Before anything else: a SIGTERM while the display connection or the
    // window is still being set up must still end the session the normal way.
    platform::SessionEndWatcher::catchSignals();

    // Before anything needs a display: help and version work on a console,
    // and a mistyped argument starts no session.
    if (const auto status = core::desktop::handleCommandLine(argc, argv, kProgram))
        return *status;
    if (const QString problem = core::desktop::enterLogFolderIfFromDesktop(); !problem.isEmpty())
        std::fprintf(stderr, "tocka: %s\n", qPrintable(problem));

    // Bouncing and dragging move the window by itself, which needs global
    // window positions; Wayland gives a client none, XWayland does.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tocka"));
    QApplication::setApplicationVersion(core::desktop::applicationVersionText());
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setDesktopFileName(QStringLiteral("tocka"));
    // The copy built into the program, the same picture as the installed
    // one: looked up in the icon theme, the installed files are read in a way
    // that loads every image plugin (see programIcon()).
    const QIcon icon = forms::programIcon(QStringLiteral(":/tocka/tocka-%1.png"), {16, 32, 48, 64});
    QApplication::setWindowIcon(icon);

    platform::QtPlatform platform(QStringLiteral("tocka"));
    tocka::TockaApp tocka(platform, core::desktop::journalFolder(), core::desktop::spareJournalFolder());
    QObject::connect(&tocka, &tocka::TockaApp::finished, &application, &QCoreApplication::quit);

    platform::SessionEndWatcher watcher;
    watcher.watchSignals();
    watcher.watchSessionManager();
    watcher.watchShutdown();
    QObject::connect(&watcher, &platform::SessionEndWatcher::ending, &tocka,
                     [&](platform::SessionEndWatcher::Reason reason, int signalNumber) {
                         std::fprintf(stderr, "tocka: ending on %s%s%s\n",
                                      platform::SessionEndWatcher::reasonName(reason),
                                      signalNumber ? qPrintable(QStringLiteral(" %1").arg(signalNumber)) : "",
                                      tocka.refusedAsSecondCopy() ? "" : ", logging the session");
                         tocka.endSession();
                         watcher.releaseShutdownLock();
                     });

    tocka.start();

    tocka.offerTray(icon);
    return QApplication::exec();
}
