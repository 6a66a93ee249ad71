#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Drags the real clock window with the mouse in an X server of its own and
# checks where it lands: it follows the pointer from where it was grabbed,
# and an edge pulls it on once it comes within 200 twips.
source "$E2E_LIB"
[ -n "${TOCKA_BIN:-}" ] || fail "TOCKA_BIN is not set"

start_xvfb 1280x800x24
run_bg tocka "$TOCKA_BIN"
# Generous: the machine may be busy with other builds.
win=$(wait_window '^Zemlo:' 60) || { cat "$E2E_DIR/tocka.out" >&2; fail "the clock window did not show its time"; }

place() { xdotool getwindowgeometry --shell "$win" | sed -n 's/^\([XY]\)=/\1=/p'; }
# Waits for the window to stand where it should. The deadline is generous: a
# busy machine may take seconds to work through a glide's motion events (each
# move of the window waits on the X server), and a window that stopped short
# shows as the place it stopped at.
expect_at() {
    local want_x=$1 want_y=$2 X Y deadline=$((SECONDS + 30))
    while :; do
        eval "$(place)"
        [ "$X" = "$want_x" ] && [ "$Y" = "$want_y" ] && return 0
        [ "$SECONDS" -lt "$deadline" ] || break
        sleep 0.05
    done
    fail "$3: the window is at $X,$Y, expected $want_x,$want_y"
}

# Moves the pointer in small steps with the button held, as fast as the X
# server takes them: motion events then come in before the window's own moves
# have reached the server, which is when positions relative to the window
# would be stale and only the pointer's global position tells the truth.
glide() {
    local x0=$1 y0=$2 x1=$3 y1=$4 steps=$5 i args=()
    for i in $(seq 1 "$steps"); do
        args+=(mousemove $((x0 + (x1 - x0) * i / steps)) $((y0 + (y1 - y0) * i / steps)))
    done
    xdotool "${args[@]}"
}

# A fresh start: the big clock face at the top, 20 twips from the right edge
# (1197.33 pixels, shown at 1197).
expect_at 1197 0 "at start"

# Grab it 40 pixels in and drag it down and left into the open screen. The
# grab point is 600 - 17960 / 15 = 40.33 pixels from the window's left edge,
# 9 from its top. Standing 20 twips from the right edge, the window is first
# pulled onto it (Left 17980, 1198.67 pixels) by a move too small to take it
# away.
#
# Where a drag lands must not depend on how many motion events the X server
# and Qt make of a glide: a busy machine merges them, and the window then
# jumps from wherever it stood to the pointer in one step. The drag rule
# holds an axis still when such a step's length comes within 200 twips of
# the window's distance from an edge (on an edge: of 0). A straight glide off
# the right edge passes, halfway, the place from which the jump to its end
# is held on both axes. So the window is taken off the edge by one jump (one
# motion event cannot be merged), and glides on only from there: over that
# stretch (Left 700 to 560 pixels, Top 300 to 391) no merged jump can be held.
xdotool mousemove 1237 9
xdotool mousedown 1
xdotool mousemove 1235 9
expect_at 1199 0 "pulled onto the right edge"
# Left = 740 * 15 - 595 = 10505 twips (700.33 pixels); Top = 309 * 15 - 135 = 4500 (300).
xdotool mousemove 740 309
expect_at 700 300 "taken off the right edge"
glide 740 309 600 400 40
xdotool mouseup 1
# Left = 600 * 15 - 595 = 8405 twips (560.33 pixels); Top = 400 * 15 - 135 = 5865 (391).
expect_at 560 391 "dragged into the open"

# Now towards the left edge: stop 5 pixels short of it, then one pixel more,
# which is within 200 twips, so the edge pulls it on and holds it.
xdotool mousemove 600 400
xdotool mousedown 3
glide 600 400 45 400 30
expect_at 5 391 "5 pixels from the left edge"
xdotool mousemove 44 400
expect_at 0 391 "pulled onto the left edge"
# Held there while the pointer stays within 200 twips of its grab point.
xdotool mousemove 51 400
expect_at 0 391 "held on the left edge"
xdotool mouseup 3
# The right button's click opened the settings window.
wait_window '^Zemlo Settings$' 10 >/dev/null || fail "the right-button click did not open the settings window"
echo "drag: ok"
