// SPDX-License-Identifier: MIT
// Tallio: shows how much time the sessions that Tocka logged add up to. It
// reads LogData.log in the folder it is started in and takes no arguments.

#include "analyser/talliowindow.h"
#include "core/desktop/appversion.h"
#include "core/desktop/commandline.h"
#include "core/desktop/folders.h"
#include "forms/formslot.h"
#include "forms/programicon.h"

#include <QApplication>

#include <cstdio>

namespace {

const core::desktop::Program kProgram{
    "tallio", "tallio [--help | --version]",
    "Shows how much time the sessions that Tocka logged add up to: the total in\n"
    "several units, the number of sessions, sessions per day, the average session\n"
    "and the date of the last one. It reads LogData.log in the folder it was\n"
    "started in; started from the desktop menu it reads the one in\n"
    "~/.local/share/tocka ($XDG_DATA_HOME/tocka). It takes no other arguments;\n"
    "tallio-report prints the same report on standard output.\n"};

} // namespace

int main(int argc, char *argv[])
{
    if (const auto status = core::desktop::handleCommandLine(argc, argv, kProgram))
        return *status;
    if (const QString problem = core::desktop::enterLogFolderIfFromDesktop(); !problem.isEmpty())
        std::fprintf(stderr, "tallio: %s\n", qPrintable(problem));

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tallio"));
    QApplication::setApplicationVersion(core::desktop::applicationVersionText());
    QApplication::setDesktopFileName(QStringLiteral("tallio"));
    QApplication::setWindowIcon(forms::programIcon(QStringLiteral(":/tallio/tallio-%1.png"), {16, 32, 48}));

    forms::FormSlot<analyser::Form1> form([] { return new analyser::Form1(); });
    form.get().Show();
    return QApplication::exec();
}
