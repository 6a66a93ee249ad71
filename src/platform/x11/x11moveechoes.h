// SPDX-License-Identifier: MIT
#pragma once
// The X server reports every move of a window back to its client, and Qt's
// xcb plugin answers each report with four requests that wait on the server:
// where the window now stands on the screen, then the window-manager frame
// around it, worked out by walking up the window tree wherever no window
// manager announces the frame's size. For a window that moves sixteen times a
// second that is most of what moving it costs, though Qt already holds the
// place it asked for. So a report that only confirms one of our own moves is
// dropped before Qt sees it; every other report (a window manager's
// placement, a resize, anything that does not match) reaches Qt as before.

#include <QAbstractNativeEventFilter>
#include <QRect>

#include <cstdint>
#include <unordered_map>
#include <vector>

class QWidget;

namespace platform {

class X11MoveEchoes : public QAbstractNativeEventFilter
{
public:
    // Call right after Qt was asked to move `window`: the place Qt now holds
    // for it is what the server will report.
    void expect(const QWidget &window);

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    // The bookkeeping behind the filter, by X window id.
    void expect(std::uint32_t window, QRect geometry);
    // Whether a report that `window` stands at `geometry` only confirms one
    // of the moves expected (and so can be dropped). `synthetic`: sent by a
    // window manager, in root coordinates; otherwise from the server itself,
    // relative to the window's parent.
    bool confirms(std::uint32_t window, QRect geometry, bool synthetic);
    // A window manager took the window into a frame: from now on the server's
    // own reports are relative to that frame, and only the manager's count.
    void reparented(std::uint32_t window);
    void destroyed(std::uint32_t window);

private:
    struct Window
    {
        std::vector<QRect> expected; // oldest first
        bool framed = false;
    };
    std::unordered_map<std::uint32_t, Window> windows_;
};

} // namespace platform
