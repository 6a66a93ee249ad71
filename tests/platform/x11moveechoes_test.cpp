// SPDX-License-Identifier: MIT
// Which of the X server's reports of a window's place are dropped before Qt
// sees them: only those that confirm a move we made, late ones included, and
// none once Qt has taken some other report for the window's place.

#include "platform/x11/x11moveechoes.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstring>
#include <vector>

namespace {

constexpr std::uint32_t kWindow = 0x200006;
constexpr std::uint32_t kOther = 0x20000d;
constexpr std::uint32_t kFrame = 0x400001;

enum class Kind {
    Expect,      // we asked Qt to move kWindow to (x, x + 1)
    Report,      // the server reports kWindow at (x, x + 1), 81 x 18
    Synthetic,   // a window manager reports it, in root coordinates
    Resized,     // the server reports it at (x, x + 1), 120 x 30
    OtherWindow, // the server reports another window at (x, x + 1)
    ToParent,    // kWindow's report, as its parent receives it
    Reparented,  // a window manager took kWindow into its frame
    Destroyed,   // kWindow is gone (its id may come back)
};

struct Step
{
    Kind kind;
    int x = 0;
    bool dropped = false; // for reports: whether Qt never sees it
};

struct Row
{
    const char *name;
    std::vector<Step> steps;
};

bool send(platform::X11MoveEchoes &echoes, const xcb_generic_event_t &event)
{
    qintptr result = 0;
    return echoes.nativeEventFilter(
        QByteArrayLiteral("xcb_generic_event_t"), const_cast<xcb_generic_event_t *>(&event), &result);
}

bool configure(platform::X11MoveEchoes &echoes, std::uint32_t to, std::uint32_t window, int x, int width, int height,
    bool synthetic)
{
    xcb_configure_notify_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CONFIGURE_NOTIFY | (synthetic ? 0x80 : 0);
    event.event = to;
    event.window = window;
    event.x = static_cast<std::int16_t>(x);
    event.y = static_cast<std::int16_t>(x + 1);
    event.width = static_cast<std::uint16_t>(width);
    event.height = static_cast<std::uint16_t>(height);
    return send(echoes, reinterpret_cast<const xcb_generic_event_t &>(event));
}

} // namespace

TEST(X11MoveEchoes, DropsOnlyReportsThatConfirmOurOwnMoves)
{
    using K = Kind;
    const std::vector<Row> rows = {
        {"a move, then its report", {{K::Expect, 10}, {K::Report, 10, true}}},
        {"a second report of the same place is someone else's (a restack)",
         {{K::Expect, 10}, {K::Report, 10, true}, {K::Report, 10, false}}},
        {"reports that lag two moves behind",
         {{K::Expect, 10}, {K::Expect, 20}, {K::Expect, 30}, {K::Report, 10, true}, {K::Report, 20, true},
          {K::Report, 30, true}}},
        {"a report that skips a move confirms the older one with it",
         {{K::Expect, 10}, {K::Expect, 20}, {K::Report, 20, true}, {K::Report, 10, false}}},
        // Qt took the other place from that report; the reports of our
        // moves must then reach it too, or it keeps the other place.
        {"someone else moved it between our moves",
         {{K::Expect, 10}, {K::Expect, 20}, {K::Report, 99, false}, {K::Report, 10, false}, {K::Report, 20, false}}},
        {"a resize reaches Qt", {{K::Expect, 10}, {K::Resized, 10, false}}},
        {"no move asked for", {{K::Report, 10, false}}},
        {"another window at the same place", {{K::Expect, 10}, {K::OtherWindow, 10, false}, {K::Report, 10, true}}},
        {"the parent's copy of the report", {{K::Expect, 10}, {K::ToParent, 10, false}, {K::Report, 10, true}}},
        {"a window manager's report in root coordinates", {{K::Expect, 10}, {K::Synthetic, 10, true}}},
        // In a frame the server's own report is relative to the frame, and
        // only a coincidence would make it match.
        {"in a frame, only the window manager's reports count",
         {{K::Reparented}, {K::Expect, 10}, {K::Report, 10, false}, {K::Expect, 20}, {K::Synthetic, 20, true}}},
        {"an expected move does not outlive its window", {{K::Expect, 10}, {K::Destroyed}, {K::Report, 10, false}}},
    };
    for (const Row &row : rows) {
        platform::X11MoveEchoes echoes;
        int index = 0;
        for (const Step &step : row.steps) {
            ++index;
            bool dropped = false;
            switch (step.kind) {
            case K::Expect:
                echoes.expect(kWindow, QRect(step.x, step.x + 1, 81, 18));
                continue;
            case K::Reparented: {
                xcb_reparent_notify_event_t event;
                std::memset(&event, 0, sizeof event);
                event.response_type = XCB_REPARENT_NOTIFY;
                event.event = kWindow;
                event.window = kWindow;
                event.parent = kFrame;
                EXPECT_FALSE(send(echoes, reinterpret_cast<const xcb_generic_event_t &>(event))) << row.name;
                continue;
            }
            case K::Destroyed: {
                xcb_destroy_notify_event_t event;
                std::memset(&event, 0, sizeof event);
                event.response_type = XCB_DESTROY_NOTIFY;
                event.event = kWindow;
                event.window = kWindow;
                EXPECT_FALSE(send(echoes, reinterpret_cast<const xcb_generic_event_t &>(event))) << row.name;
                continue;
            }
            case K::Report:
                dropped = configure(echoes, kWindow, kWindow, step.x, 81, 18, false);
                break;
            case K::Synthetic:
                dropped = configure(echoes, kWindow, kWindow, step.x, 81, 18, true);
                break;
            case K::Resized:
                dropped = configure(echoes, kWindow, kWindow, step.x, 120, 30, false);
                break;
            case K::OtherWindow:
                dropped = configure(echoes, kOther, kOther, step.x, 81, 18, false);
                break;
            case K::ToParent:
                dropped = configure(echoes, kFrame, kWindow, step.x, 81, 18, false);
                break;
            }
            EXPECT_EQ(dropped, step.dropped) << row.name << ", step " << index;
        }
    }
}
