// SPDX-License-Identifier: MIT
#include "core/desktop/windowplacement.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>

namespace core::desktop {

namespace {

// `size` at `at`, moved as little as it takes to lie within `area`, which
// is at least as large.
QRect within(QPoint at, QSize size, const QRect &area)
{
    const int x = std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    const int y = std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
    return {QPoint(x, y), size};
}

std::int64_t covered(const QRect &place, const QRect &opener)
{
    const QRect both = place.intersected(opener);
    return both.isEmpty() ? 0 : std::int64_t(both.width()) * both.height();
}

// `place` grown towards `preferred`, one edge after the other, each as far
// as it goes without covering more of the opener or leaving the area.
QRect grown(QRect place, QSize preferred, const QRect &opener, const QRect &area)
{
    const std::int64_t before = covered(place, opener);
    // Edges by how far they may move: right, left, down, up.
    const auto moved = [](const QRect &r, int edge, int by) {
        switch (edge) {
        case 0:
            return r.adjusted(0, 0, by, 0);
        case 1:
            return r.adjusted(-by, 0, 0, 0);
        case 2:
            return r.adjusted(0, 0, 0, by);
        default:
            return r.adjusted(0, -by, 0, 0);
        }
    };
    for (int edge = 0; edge < 4; ++edge) {
        const bool across = edge < 2;
        const int spare = across ? preferred.width() - place.width() : preferred.height() - place.height();
        const int toArea = edge == 0 ? area.right() - place.right()
            : edge == 1              ? place.left() - area.left()
            : edge == 2              ? area.bottom() - place.bottom()
                                     : place.top() - area.top();
        // Covering only grows as an edge moves out: the farthest move that
        // covers no more is found by halving.
        int low = 0, high = std::max(0, std::min(spare, toArea));
        while (low < high) {
            const int mid = low + (high - low + 1) / 2;
            if (covered(moved(place, edge, mid), opener) == before)
                low = mid;
            else
                high = mid - 1;
        }
        place = moved(place, edge, low);
    }
    return place;
}

} // namespace

QRect placeBeside(const QRect &opener, QSize preferred, QSize minimum, const QRect &area, int gap)
{
    preferred = preferred.boundedTo(area.size()).expandedTo(QSize(0, 0));
    minimum = minimum.boundedTo(preferred).expandedTo(QSize(0, 0));

    // The sides in the order they are preferred, each with the room it has
    // across (a width beside the opener, a height below or above it).
    struct Side
    {
        int room;
        bool across; // left or right
        bool after;  // right or below
    };
    const Side sides[] = {
        {area.right() - opener.right() - gap, true, true},
        {opener.left() - gap - area.left(), true, false},
        {area.bottom() - opener.bottom() - gap, false, true},
        {opener.top() - gap - area.top(), false, false},
    };
    const auto placeAt = [&](const Side &side, int extent) {
        if (side.across) {
            const QSize size(extent, preferred.height());
            const int x = side.after ? opener.right() + 1 + gap : opener.left() - gap - extent;
            return within(QPoint(x, opener.top()), size, area);
        }
        const QSize size(preferred.width(), extent);
        const int y = side.after ? opener.bottom() + 1 + gap : opener.top() - gap - extent;
        return within(QPoint(opener.left(), y), size, area);
    };
    for (const Side &side : sides) {
        const int wanted = side.across ? preferred.width() : preferred.height();
        if (side.room >= wanted)
            return placeAt(side, wanted);
    }
    const Side *roomiest = nullptr;
    for (const Side &side : sides) {
        const int least = side.across ? minimum.width() : minimum.height();
        if (side.room >= least && (!roomiest || side.room > roomiest->room))
            roomiest = &side;
    }
    if (roomiest)
        return placeAt(*roomiest, roomiest->room);

    // Any least covering lies where an edge of the window meets an edge of
    // the opener or of the area; the first such place found wins a tie. It
    // then takes what room there is around it.
    QRect best;
    std::int64_t least = std::numeric_limits<std::int64_t>::max();
    for (const int x : {opener.right() + 1, opener.left() - minimum.width(), area.left(), area.right() + 1 - minimum.width()}) {
        for (const int y : {opener.top(), opener.bottom() + 1, opener.top() - minimum.height(), area.top(),
                            area.bottom() + 1 - minimum.height()}) {
            const QRect place = within(QPoint(x, y), minimum, area);
            if (const std::int64_t c = covered(place, opener); c < least) {
                least = c;
                best = place;
            }
        }
    }
    return grown(best, preferred, opener, area);
}

} // namespace core::desktop
