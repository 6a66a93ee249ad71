// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

namespace platform {
// The few operating-system calls the platform makes outside Qt. Each system
// has its own implementation folder (unix/), which the build selects.

namespace systemcalls {

// Sends SIGTERM, SIGINT and SIGHUP (or the system's counterparts) into a
// descriptor the event loop can watch; -1 if that cannot be set up. Safe to
// call more than once: the same descriptor comes back.
int watchEndSignals();
// Drains the descriptor and returns the last signal number it carried, 0 for
// none.
int takeEndSignal(int descriptor);

// A second handle on an open descriptor (-1 on failure), and closing one.
int duplicate(int descriptor);
void close(int descriptor);

// Milliseconds since midnight of the local clock, read without asking the C
// library to look for a new time zone first (as QTime::currentTime() does,
// with a file system call each time): the zone is the one loaded last, and Qt
// loads it afresh whenever it reads the local date or time.
int msecsSinceLocalMidnight();

// Milliseconds on CLOCK_MONOTONIC, which stands still while the machine
// sleeps, and on CLOCK_BOOTTIME, which does not; neither moves when the wall
// clock is set.
qint64 monotonicMs();
qint64 bootMs();

// The process's own numbers, as the login manager knows it.
quint32 userId();
quint32 processId();

// Ends the process now with `status`: no destructors, no handlers.
[[noreturn]] void exitNow(int status);

} // namespace systemcalls

} // namespace platform
