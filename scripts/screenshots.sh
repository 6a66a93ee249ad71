#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes README's pictures of the real programs in a private Xvfb:
# docs/images/tocka.png (the clock face ticking, with its settings window
# opened by a right click) and docs/images/tallio.png (Tallio on a log of a
# working fortnight). Needs Xvfb, xdotool and ImageMagick.
#
#   scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
out="$here/docs/images"
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null; rm -rf "$work"' EXIT
export HOME="$work/home" XDG_RUNTIME_DIR="$work/rt" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CONFIG_HOME="$work/home/.config" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 LANG=C.UTF-8
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$work/logs" "$out"; chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY SESSION_MANAGER
export DBUS_SESSION_BUS_ADDRESS=disabled: # none launched for the display

mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 &
pids+=($!)
read -r -t 20 display <"$work/displayfd" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"
# A grey desktop, so the borderless windows stand out.
xsetroot -solid '#5a6470'

window() { # waits for a window whose title matches; prints its id
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "no window '$1'" >&2; return 1
}

# shot FILE ID...: the smallest part of the screen that holds the windows,
# with a margin of desktop around them.
shot() {
    local file=$1; shift
    local x0=99999 y0=99999 x1=0 y1=0 id X Y WIDTH HEIGHT
    for id in "$@"; do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        [ "$X" -lt "$x0" ] && x0=$X; [ "$Y" -lt "$y0" ] && y0=$Y
        [ $((X + WIDTH)) -gt "$x1" ] && x1=$((X + WIDTH)); [ $((Y + HEIGHT)) -gt "$y1" ] && y1=$((Y + HEIGHT))
    done
    x0=$((x0 > 12 ? x0 - 12 : 0)); y0=$((y0 > 12 ? y0 - 12 : 0))
    import -window root -crop "$((x1 - x0 + 12))x$((y1 - y0 + 12))+$x0+$y0" +repage "$file"
}

# Tocka: a few ticks, then the settings window as a right click opens it.
(cd "$work/logs" && exec "$build/apps/tocka/tocka") >"$work/tocka.out" 2>&1 &
pids+=($!)
face=$(window '^Zemlo:  0:00:0[3-9]$')
xdotool mousemove --window "$face" 40 9 click 3
settings=$(window '^Zemlo Settings$')
# The face beside the settings window, as a drag would put it.
eval "$(xdotool getwindowgeometry --shell "$settings")"
xdotool windowmove "$face" $((X + WIDTH + 16)) "$Y"
sleep 1.5
shot "$out/tocka.png" "$face" "$settings"
kill -TERM "${pids[-1]}"
wait "${pids[-1]}" || true

# Tallio on two weeks of working days.
{
    for day in 01 02 03 04 07 08 09 10 11 14; do
        for s in "08:58:12 12:31:40 12808.25 3:33:28" "13:15:03 17:42:55 16072.5 4:27:52"; do
            set -- $s
            printf '"----------"\r\n#2026-12-%s#\r\n#%s#\r\n#%s#\r\n%s\r\n"%s"\r\n' "$day" "$1" "$2" "$3" "$4"
        done
    done
} >"$work/logs/LogData.log"
(cd "$work/logs" && exec "$build/apps/tallio/tallio") >"$work/tallio.out" 2>&1 &
pids+=($!)
tallio=$(window '^Zemlo Analysis')
sleep 1
shot "$out/tallio.png" "$tallio"
ls -l "$out"
