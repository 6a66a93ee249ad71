#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What Tocka costs: time from start to its window on screen and peak memory,
# against xclock (Debian package x11-apps) started the same way in the same
# run; and the processor time a running Tocka uses while idle.
#
#   bench/clock_costs.sh [path/to/tocka] [idle seconds, default 60]
set -euo pipefail
tocka=$(realpath "${1:-$(dirname "$0")/../build/apps/tocka/tocka}")
idle=${2:-60}
work=$(mktemp -d)
xvfb=
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
# A copy of its own keeps its settings file beside itself, in the work folder
# rather than beside the program measured.
cp "$tocka" "$work/"; tocka="$work/${tocka##*/}"
export HOME=$work XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
Xvfb :77 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:77
sleep 1

# Starts a program under /usr/bin/time -v, waits until its window is on the
# screen, lets it settle, ends it; prints "seconds-to-window peak-RSS-kB".
measure() {
    local pattern=$1; shift
    local start end
    start=$(date +%s.%N)
    (cd "$work" && exec /usr/bin/time -v -o "$work/time.txt" "$@") >/dev/null 2>&1 &
    local pid=$!
    timeout 30 xdotool search --sync --onlyvisible --name "$pattern" >/dev/null || { echo "no window for $*" >&2; exit 1; }
    end=$(date +%s.%N)
    sleep 2
    pkill -TERM -P "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    awk -v s="$start" -v e="$end" -v rss="$(awk -F': ' '/Maximum resident/ {print $2}' "$work/time.txt")" \
        'BEGIN { printf "%.3f %d\n", e - s, rss }'
}

read -r xt xr < <(measure '^xclock$' xclock)
read -r tt tr < <(measure '^(Been On Since|Zemlo:.*)$' "$tocka")
printf '%-8s %12s %14s\n' program "to window s" "peak RSS kB"
printf '%-8s %12s %14s\n' xclock "$xt" "$xr" tocka "$tt" "$tr"
awk -v a="$tt" -v b="$xt" -v c="$tr" -v d="$xr" 'BEGIN { printf "tocka/xclock: start-up %.1fx, memory %.1fx\n", a / b, c / d }'

# Idle cost: processor time over $idle seconds of a running clock.
(cd "$work" && exec "$tocka") >/dev/null 2>&1 &
pid=$!
xdotool search --sync --onlyvisible --name '^Zemlo:' >/dev/null
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
before=$(ticks)
sleep "$idle"
after=$(ticks)
kill -TERM "$pid"; wait "$pid" 2>/dev/null || true
hz=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v hz="$hz" -v s="$idle" \
    'BEGIN { printf "idle: %d clock ticks (%.2f s of CPU) in %d s = %.3f%% of one core\n", t, t / hz, s, 100 * t / hz / s }'
