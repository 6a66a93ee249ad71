// SPDX-License-Identifier: MIT
#include "platform/systemcalls.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <initializer_list>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace systemcalls {
namespace {

int signalPipe[2] = {-1, -1};

extern "C" void onEndSignal(int number)
{
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

int watchEndSignals()
{
    if (signalPipe[0] >= 0)
        return signalPipe[0];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
        return -1;
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(number, &action, nullptr);
    return signalPipe[0];
}

int takeEndSignal(int descriptor)
{
    unsigned char byte = 0;
    int number = 0;
    while (::read(descriptor, &byte, 1) == 1)
        number = byte;
    return number;
}

int duplicate(int descriptor)
{
    return ::dup(descriptor);
}

void close(int descriptor)
{
    ::close(descriptor);
}

int msecsSinceLocalMidnight()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    ::localtime_r(&now.tv_sec, &local);
    return ((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 + static_cast<int>(now.tv_nsec / 1000000);
}

namespace {

qint64 clockMs(clockid_t clock)
{
    timespec now{};
    ::clock_gettime(clock, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace

qint64 monotonicMs()
{
    return clockMs(CLOCK_MONOTONIC);
}

qint64 bootMs()
{
    return clockMs(CLOCK_BOOTTIME);
}

quint32 userId()
{
    return ::getuid();
}

quint32 processId()
{
    return static_cast<quint32>(::getpid());
}

void exitNow(int status)
{
    std::fflush(nullptr);
    ::_exit(status);
}

} // namespace systemcalls

} // namespace platform
