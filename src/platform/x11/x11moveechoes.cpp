// SPDX-License-Identifier: MIT
#include "platform/x11/x11moveechoes.h"

#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>

namespace platform {

namespace {

// Reports lag behind the moves by a round trip to the server; this many
// moves ahead the oldest is forgotten (its report then goes to Qt).
constexpr std::size_t kMaxExpected = 32;

} // namespace

void X11MoveEchoes::expect(const QWidget &window)
{
    // A hidden window is not moved on the server until it shows.
    if (!window.isWindow() || !window.isVisible())
        return;
    const QWindow *handle = window.windowHandle();
    // Scaled, Qt's place is not the server's pixels.
    if (!handle || handle->devicePixelRatio() != 1.0)
        return;
    // The native window's own id: Qt makes the X window anew when the
    // window's stacking hint changes, and the widget's id then lags behind.
    const auto id = static_cast<std::uint32_t>(handle->winId());
    if (id != 0)
        expect(id, handle->geometry());
}

void X11MoveEchoes::expect(std::uint32_t window, QRect geometry)
{
    std::vector<QRect> &expected = windows_[window].expected;
    if (expected.size() == kMaxExpected)
        expected.erase(expected.begin());
    expected.push_back(geometry);
}

bool X11MoveEchoes::confirms(std::uint32_t window, QRect geometry, bool synthetic)
{
    const auto found = windows_.find(window);
    if (found == windows_.end())
        return false;
    std::vector<QRect> &expected = found->second.expected;
    const auto match = synthetic || !found->second.framed ? std::find(expected.begin(), expected.end(), geometry)
                                                          : expected.end();
    if (match == expected.end()) {
        // Qt takes this report for the window's place, older than our
        // newest move or not; what it holds now is no longer ours to confirm.
        expected.clear();
        return false;
    }
    // A report of an older move that came in late: the newer moves are still
    // to be confirmed by their own reports, and Qt already holds the newest.
    expected.erase(expected.begin(), match + 1);
    return true;
}

void X11MoveEchoes::reparented(std::uint32_t window)
{
    Window &w = windows_[window];
    w.framed = true;
    w.expected.clear();
}

void X11MoveEchoes::destroyed(std::uint32_t window)
{
    windows_.erase(window); // its id may be handed out again
}

bool X11MoveEchoes::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const bool synthetic = (event->response_type & 0x80) != 0;
    switch (event->response_type & 0x7f) {
    case XCB_CONFIGURE_NOTIFY: {
        const auto *configure = reinterpret_cast<const xcb_configure_notify_event_t *>(event);
        if (configure->event != configure->window) // a child's, reported to its parent
            return false;
        return confirms(configure->window, QRect(configure->x, configure->y, configure->width, configure->height),
                        synthetic);
    }
    case XCB_REPARENT_NOTIFY: {
        const auto *reparent = reinterpret_cast<const xcb_reparent_notify_event_t *>(event);
        if (reparent->event == reparent->window)
            reparented(reparent->window);
        return false;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto *destroy = reinterpret_cast<const xcb_destroy_notify_event_t *>(event);
        if (destroy->event == destroy->window)
            destroyed(destroy->window);
        return false;
    }
    default:
        return false;
    }
}

} // namespace platform
