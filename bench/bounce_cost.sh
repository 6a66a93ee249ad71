#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What bouncing and sitting idle cost Tocka, against the least they could:
#
# - CPU: a bare xcb client (bench/xcb_bounce.c) moving an 81 x 18 window every
#   60 ms, the bare Qt label window below moved the same way with QWidget::move,
#   and Tocka's real windows bouncing at the same 60 ms (the live probe in
#   bounce mode), side by side, each in an Xvfb of its own; the client's
#   and the X server's processor time over SECONDS after a warm-up, all
#   threads, from the scheduler's statistics, and how often each woke for a
#   move. Over ROUNDS rounds: one round can catch a busy moment of the machine.
# - Memory: a bare Qt Widgets label window (bench/qt_label.cpp) and Tocka
#   itself, idle, each in an Xvfb of its own; resident memory after they
#   settle.
#
#   bench/bounce_cost.sh BUILD_DIR [SECONDS [ROUNDS]]   (3 rounds of 20 s by default)
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd); seconds=${2:-20} rounds=${3:-3}
xcb="$build/bench/xcb_bounce" probe="$build/bench/tocka_liveprobe" label="$build/bench/qt_label"
tocka="$build/apps/tocka/tocka"
for bin in "$xcb" "$probe" "$label" "$tocka"; do
    [ -x "$bin" ] || { echo "missing $bin: build with TOCKA_BENCH=ON (and libxcb1-dev)" >&2; exit 1; }
done
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null; rm -rf "$work"' EXIT
# Copies of their own: a copy outside an installed tree keeps its settings
# file beside itself, so every run starts from the defaults and none leaves a
# LogSetin.ini in the build folder for the next program run from there.
mkdir "$work/bin"; cp "$probe" "$tocka" "$work/bin/"
probe="$work/bin/${probe##*/}" tocka="$work/bin/${tocka##*/}"
export HOME="$work" XDG_RUNTIME_DIR="$work/rt" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY SESSION_MANAGER
export DBUS_SESSION_BUS_ADDRESS=disabled: # none launched for the display

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

# bounce ROUND: runs the bare client, the bare Qt label window bouncing and
# Tocka's probe side by side, each with an Xvfb of its own, so that all are
# measured over the same seconds of the same machine (whatever else it does
# then weighs on all alike), and prints "bounce ROUND" and then, for each of
# the three, "client server client-wakeups server-wakeups".
bounce() {
    local round=$1 name before after
    local -A client server
    local -a command
    for name in xcb qt tocka; do
        case $name in
        xcb) command=("$xcb" $((seconds + 10))) ;;
        qt) command=("$label" $((seconds + 10)) bounce) ;;
        tocka) command=("$probe" bounce $((seconds + 10))) ;;
        esac
        start_xvfb; server[$name]=$xvfb
        (cd "$work" && DISPLAY=":$display" exec "${command[@]}") >"$work/$name.out" 2>&1 &
        client[$name]=$!; pids+=("${client[$name]}")
    done
    sleep 3 # start-up is not what is measured
    for name in xcb qt tocka; do
        kill -0 "${client[$name]}" 2>/dev/null || { echo "$name ended early: $(cat "$work/$name.out")" >&2; exit 1; }
    done
    sample() {
        for name in xcb qt tocka; do
            printf ' %s %s %s %s' "$(cpuns "${client[$name]}")" "$(cpuns "${server[$name]}")" \
                "$(switches "${client[$name]}")" "$(switches "${server[$name]}")"
        done
    }
    before=$(sample)
    sleep "$seconds"
    after=$(sample)
    echo "$before $after" | awk -v r="$round" '{ printf "bounce %s", r; for (i = 1; i <= 12; ++i) printf " %d", $(i + 12) - $i; print "" }'
    stop "${client[@]}" "${server[@]}"
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
    for ((round = 1; round <= rounds; ++round)); do bounce "$round"; done
    memory label "$label" 30
    memory tocka "$tocka"
} >"$work/results"

awk -v hz=1e9 -v s="$seconds" -v rounds="$rounds" '
    $1 == "bounce" {
        for (i = 0; i < 3; ++i) { c[i] += $(3 + 4 * i); v[i] += $(4 + 4 * i); w[i] += $(5 + 4 * i); x[i] += $(6 + 4 * i) }
        bare = $3 + $4
        qr[$2] = bare ? ($7 + $8) / bare : 0
        tr[$2] = bare ? ($11 + $12) / bare : 0
    }
    $1 == "label" { lr = $2 }
    $1 == "tocka" { kr = $2 }
    END {
        split("bare xcb client|bare Qt label window|Tocka", names, "|")
        printf "Bouncing, every 60 ms, side by side, %d rounds of %d s (CPU seconds, all rounds):\n", rounds, s
        for (i = 0; i < 3; ++i)
            printf "  %-22s client %6.3f  X server %6.3f  together %6.3f\n", names[i + 1], c[i] / hz, v[i] / hz, (c[i] + v[i]) / hz
        bare = c[0] + v[0]
        printf "  Tocka / bare client, round by round:"
        for (r = 1; r <= rounds; ++r) printf " %.2f", tr[r]
        printf "\n  Tocka / bare client, all rounds: %.2f (goal: at most 2)\n", bare ? (c[2] + v[2]) / bare : 0
        printf "  Qt label / bare client, round by round:"
        for (r = 1; r <= rounds; ++r) printf " %.2f", qr[r]
        printf "\n  Qt label / bare client, all rounds: %.2f\n", bare ? (c[1] + v[1]) / bare : 0
        moves = rounds * s * 1000 / 60
        printf "Wake-ups per move (context switches):\n"
        for (i = 0; i < 3; ++i)
            printf "  %-22s client %6.1f  X server %6.1f\n", names[i + 1], w[i] / moves, x[i] / moves
        printf "Idle memory (MB):\n"
        printf "  %-22s RSS %6.1f\n", "bare Qt label window", lr / 1024
        printf "  %-22s RSS %6.1f\n", "Tocka", kr / 1024
        printf "  Tocka - label: %+.1f MB (goal: within 3 MB)\n", (kr - lr) / 1024
    }' "$work/results"
