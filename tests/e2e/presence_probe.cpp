// SPDX-License-Identifier: MIT
// The real platform's presence readings, one command per line of standard
// input, for the presence test to drive:
//
//   idle        "idle MS BEFORE AFTER": the idle time ("none" where the
//               desktop says nothing) between two readings of the monotonic
//               clock
//   locked      "locked 0|1"
//   inhibited   "inhibited none|0|1"
//
// and "lock 0|1 MS" whenever the lock changes. Each answer is a line on
// standard output, flushed at once.

#include "platform/qtplatform.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace {

void say(const QByteArray &line)
{
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QByteArray text(std::optional<qint64> value)
{
    return value ? QByteArray::number(*value) : QByteArrayLiteral("none");
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    platform::QtPlatform platform(QStringLiteral("tocka-presence-probe"));
    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &application, [&] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, n);
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            const QByteArray command = pending.left(end).trimmed();
            if (command == "idle") {
                const qint64 before = platform.monotonicMs();
                const std::optional<qint64> idle = platform.idleMs();
                const qint64 after = platform.monotonicMs();
                say("idle " + text(idle) + ' ' + QByteArray::number(before) + ' ' + QByteArray::number(after));
            } else if (command == "locked") {
                say("locked " + QByteArray::number(platform.screenLocked()));
            } else if (command == "inhibited") {
                const std::optional<bool> inhibited = platform.idleInhibited();
                say("inhibited " + (inhibited ? QByteArray::number(*inhibited) : QByteArrayLiteral("none")));
            } else if (!command.isEmpty()) {
                say("unknown " + command);
            }
        }
    });
    platform.watchLock(
        [](bool locked, qint64 ms) { say("lock " + QByteArray::number(locked) + ' ' + QByteArray::number(ms)); });
    return QGuiApplication::exec();
}
