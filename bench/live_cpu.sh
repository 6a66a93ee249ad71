#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Measures the processor time Tocka's live behaviours take: each mode runs in
# its own Xvfb for a warm-up and then SECONDS (60 by default) of measuring,
# read from /proc/PID/stat (utime + stime).
#
#   bench/live_cpu.sh BUILD_DIR [SECONDS] [MODES...]
set -euo pipefail
build=${1:?build folder}; seconds=${2:-60}; shift $(( $# >= 2 ? 2 : 1 ))
modes=("$@"); [ ${#modes[@]} -gt 0 ] || modes=(idle bounce fade fade-all alarm)
probe="$(cd "$build" && pwd)/bench/tocka_liveprobe"
tick=$(getconf CLK_TCK)
work=$(mktemp -d); trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
# A copy of its own keeps its settings file beside itself, in the work folder
# rather than the build folder.
cp "$probe" "$work/"; probe="$work/${probe##*/}"
export HOME="$work" XDG_RUNTIME_DIR="$work/rt" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY

cputicks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

start_xvfb() {
    rm -f "$work/displayfd"; mkfifo "$work/displayfd"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 & xvfb=$!
    read -r -t 20 display <"$work/displayfd" || { echo "Xvfb did not start" >&2; exit 1; }
}

for mode in "${modes[@]}"; do
    start_xvfb
    (cd "$work" && DISPLAY=":$display" exec "$probe" "$mode" $((seconds + 10))) >"$work/$mode.out" 2>&1 & pid=$!
    sleep 5 # start-up is not what is measured
    kill -0 $pid 2>/dev/null || { echo "$mode: the probe ended early:" >&2; cat "$work/$mode.out" >&2; exit 1; }
    before=$(cputicks $pid); sleep "$seconds"; after=$(cputicks $pid)
    awk -v m="$mode" -v t=$((after - before)) -v hz="$tick" -v s="$seconds" \
        'BEGIN { printf "%-9s %6.2f s of CPU in %d s = %5.2f %%\n", m, t / hz, s, 100 * t / hz / s }'
    kill $pid $xvfb 2>/dev/null || true; wait $pid $xvfb 2>/dev/null || true
done
