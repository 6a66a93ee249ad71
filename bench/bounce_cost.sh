#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What bouncing and sitting idle cost Tocka, against the least they could:
#
# - CPU: a bare xcb client (bench/xcb_bounce.c) moving an 81 x 18 window every
#   60 ms, and Tocka's real windows bouncing at the same 60 ms (the live probe
#   in bounce mode), each in an Xvfb of its own; the client's and the X
#   server's processor time over SECONDS after a warm-up, all threads, from
#   the scheduler's statistics, and how often each woke for a move.
# - Memory: a bare Qt Widgets label window (bench/qt_label.cpp) and Tocka
#   itself, idle, each in an Xvfb of its own; resident memory after they
#   settle.
#
#   bench/bounce_cost.sh BUILD_DIR [SECONDS]     (20 s by default)
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd); seconds=${2:-20}
xcb="$build/bench/xcb_bounce" probe="$build/bench/tocka_liveprobe" label="$build/bench/qt_label"
tocka="$build/apps/tocka/tocka"
for bin in "$xcb" "$probe" "$label" "$tocka"; do
    [ -x "$bin" ] || { echo "missing $bin: build with TOCKA_BENCH=ON (and libxcb1-dev)" >&2; exit 1; }
done
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null; rm -rf "$work"' EXIT
export HOME="$work" XDG_RUNTIME_DIR="$work/rt" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY SESSION_MANAGER

# Nanoseconds on the processor, all threads of the process together
# (scheduler statistics: far finer than the clock ticks of /proc/PID/stat).
cpuns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ t += $1 } END { printf "%.0f\n", t }'; }
# Times the process's threads were switched out, all threads together: how
# often it woke, which the processor time above mostly pays for. Unlike that
# time it does not wander with the machine's load.
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/_ctxt_switches:/ { t += $2 } END { print t }'; }

start_xvfb() {
    rm -f "$work/displayfd"; mkfifo "$work/displayfd"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 &
    xvfb=$!; pids+=("$xvfb")
    read -r -t 20 display <"$work/displayfd" || { echo "Xvfb did not start" >&2; exit 1; }
}

stop() { kill "$@" 2>/dev/null || true; wait "$@" 2>/dev/null || true; }

# cpu NAME COMMAND...: prints "NAME client-seconds server-seconds".
cpu() {
    local name=$1; shift
    start_xvfb
    (cd "$work" && DISPLAY=":$display" exec "$@") >"$work/$name.out" 2>&1 & local pid=$!; pids+=("$pid")
    sleep 3 # start-up is not what is measured
    kill -0 "$pid" 2>/dev/null || { echo "$name ended early: $(cat "$work/$name.out")" >&2; exit 1; }
    local c0 s0 c1 s1 w0 v0 w1 v1
    w0=$(switches "$pid"); v0=$(switches "$xvfb")
    c0=$(cpuns "$pid"); s0=$(cpuns "$xvfb")
    sleep "$seconds"
    c1=$(cpuns "$pid"); s1=$(cpuns "$xvfb")
    w1=$(switches "$pid"); v1=$(switches "$xvfb")
    echo "$name $(((c1 - c0))) $(((s1 - s0))) $(((w1 - w0))) $(((v1 - v0)))"
    stop "$pid" "$xvfb"
}

# memory NAME COMMAND...: prints "NAME rss-kB" of the settled program. (The
# proportional and the private set sizes would depend on which other Qt
# programs happen to run on the machine; the resident size does not.)
memory() {
    local name=$1; shift
    start_xvfb
    mkdir -p "$work/$name"
    (cd "$work/$name" && DISPLAY=":$display" exec "$@") >"$work/$name.out" 2>&1 & local pid=$!; pids+=("$pid")
    sleep 5
    kill -0 "$pid" 2>/dev/null || { echo "$name ended early: $(cat "$work/$name.out")" >&2; exit 1; }
    echo "$name $(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")"
    stop "$pid" "$xvfb"
}

{
    cpu xcb "$xcb" $((seconds + 10))
    cpu tocka "$probe" bounce $((seconds + 10))
    memory label "$label" 30
    memory tocka "$tocka"
} >"$work/results"

awk -v hz=1e9 -v s="$seconds" '
    $1 == "xcb" && NF == 5 && !m { xc = $2; xs = $3; xw = $4; xv = $5 }
    $1 == "tocka" && NF == 5 && !m { tc = $2; ts = $3; tw = $4; tv = $5; m = 1; next }
    m && $1 == "label" { lr = $2 }
    m && $1 == "tocka" { kr = $2 }
    END {
        printf "Bouncing, every 60 ms, %d s (CPU seconds):\n", s
        printf "  %-22s client %6.3f  X server %6.3f  together %6.3f\n", "bare xcb client", xc / hz, xs / hz, (xc + xs) / hz
        printf "  %-22s client %6.3f  X server %6.3f  together %6.3f\n", "Tocka", tc / hz, ts / hz, (tc + ts) / hz
        printf "  Tocka / bare client: %.2f (goal: at most 2)\n", (xc + xs) ? (tc + ts) / (xc + xs) : 0
        moves = s * 1000 / 60
        printf "Wake-ups per move (context switches):\n"
        printf "  %-22s client %6.1f  X server %6.1f\n", "bare xcb client", xw / moves, xv / moves
        printf "  %-22s client %6.1f  X server %6.1f\n", "Tocka", tw / moves, tv / moves
        printf "Idle memory (MB):\n"
        printf "  %-22s RSS %6.1f\n", "bare Qt label window", lr / 1024
        printf "  %-22s RSS %6.1f\n", "Tocka", kr / 1024
        printf "  Tocka - label: %+.1f MB (goal: within 3 MB)\n", (kr - lr) / 1024
    }' "$work/results"
