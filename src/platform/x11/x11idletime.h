// SPDX-License-Identifier: MIT
#pragma once
// The X server's count of the time since the last keyboard or pointer input,
// from its screen-saver extension (MIT-SCREEN-SAVER). The server keeps that
// count on CLOCK_MONOTONIC, so it leaves out time asleep as the monotonic
// clock does.
//
// The one request is sent through libxcb's extension interface rather than
// libxcb-screensaver: that library would be one more to load and keep
// resident in every run, for thirty lines of protocol.

#include <QtGlobal>

#include <optional>

struct xcb_connection_t;

namespace platform {

class X11IdleTime
{
public:
    // `connection` stays the caller's and must outlive this.
    explicit X11IdleTime(xcb_connection_t *connection);

    // One round trip to the server; nullopt where it lacks the extension or
    // the connection is broken.
    std::optional<qint64> idleMs();

private:
    xcb_connection_t *connection_;
    quint32 root_ = 0;
    enum class Extension { Unknown, Present, Absent };
    Extension extension_ = Extension::Unknown;
};

} // namespace platform
