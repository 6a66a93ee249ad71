#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes the pictures of Tallio that README.md shows, from the real program in
# a private X server: the report window and its History window, over a log
# of 400 sessions written by the same record writer Tocka uses, with their
# lines in LogAway.log (a third of them with time away).
#
#   scripts/history-screenshots.sh [BUILD-FOLDER]     (default: build; writes docs/*.png)
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
cmake --build "$build" -j2 --target tallio tallio_make_log >/dev/null

work=$(mktemp -d)
xvfb=""
cleanup() {
    [ -n "${tallio:-}" ] && kill "$tallio" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work XDG_RUNTIME_DIR=$work/run LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY
export DBUS_SESSION_BUS_ADDRESS=disabled: # none launched for the display

mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 &
xvfb=$!
read -r -t 20 display <"$work/displayfd" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"

"$build/bench/tallio_make_log" --away "$work/LogAway.log" 400 >"$work/LogData.log"
(cd "$work" && exec "$build/apps/tallio/tallio") >"$work/tallio.out" 2>&1 &
tallio=$!

window() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n1; }
main=$(window '^Zemlo Analysis: Time spent$') || { cat "$work/tallio.out" >&2; exit 1; }
# Wait for the window to be drawn: its picture stops changing.
settle() {
    local last="" now
    for _ in $(seq 50); do
        now=$(import -window "$1" rgb:- 2>/dev/null | md5sum)
        [ "$now" = "$last" ] && return 0
        last=$now
        sleep 0.2
    done
}
settle "$main"
import -window "$main" "$top/docs/tallio-report.png"

# The report where a user might have dragged it, so that the History window
# opens beside it at its full size; it must not cover the report.
xdotool windowmove --sync "$main" 0 0
xdotool windowfocus --sync "$main" key ctrl+h
history=$(window '^Zemlo Analysis: History$') || { echo "no History window" >&2; exit 1; }
settle "$history"
eval "$(xdotool getwindowgeometry --shell "$main" | sed 's/^/MAIN_/')"
eval "$(xdotool getwindowgeometry --shell "$history" | sed 's/^/HISTORY_/')"
if [ $((HISTORY_X)) -lt $((MAIN_X + MAIN_WIDTH)) ] && [ $((MAIN_X)) -lt $((HISTORY_X + HISTORY_WIDTH)) ] \
    && [ $((HISTORY_Y)) -lt $((MAIN_Y + MAIN_HEIGHT)) ] && [ $((MAIN_Y)) -lt $((HISTORY_Y + HISTORY_HEIGHT)) ]; then
    echo "the History window covers the report" >&2
    exit 1
fi
import -window "$history" "$top/docs/tallio-history.png"
echo "wrote docs/tallio-report.png and docs/tallio-history.png"
