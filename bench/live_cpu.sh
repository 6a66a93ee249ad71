#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Measures the processor time Tocka's live behaviours take: each mode runs in
# its own Xvfb for a warm-up and then SECONDS (60 by default) of measuring,
# read from /proc/PID/stat (utime + stime). Beside it: how often the program
# and its X server woke up (context switches, all threads) per second, and
# the program's resident memory at the end.
#
#   bench/live_cpu.sh BUILD_DIR [SECONDS] [MODES...]
#
# Modes: idle, bounce, fade, fade-all, alarm (the default set), about; and
# desktop and away, Tocka idle as in idle but with a login manager and a GNOME
# screensaver of python3-dbusmock's on private buses (where that is
# installed), as on a desktop: desktop with someone at the computer a moment
# before it starts, away with nobody there and an idle threshold of three
# seconds, so that time away is counted all along.
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
unset DBUS_SYSTEM_BUS_ADDRESS WAYLAND_DISPLAY XDG_SESSION_ID XDG_SESSION_TYPE
export DBUS_SESSION_BUS_ADDRESS=disabled: # none launched for the display

cputicks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/_ctxt_switches:/ { t += $2 } END { print t }'; }

start_xvfb() {
    rm -f "$work/displayfd"; mkfifo "$work/displayfd"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 & xvfb=$!
    read -r -t 20 display <"$work/displayfd" || { echo "Xvfb did not start" >&2; exit 1; }
}

# desktop_buses: a system bus with logind's mock holding our session, and a
# session bus with GNOME's screensaver; sets the environment to run under and
# the processes to end afterwards.
desktop_buses() {
    local bus
    for bus in system session; do
        rm -f "$work/$bus.address"
        dbus-daemon --session --nofork --nopidfile --print-address=1 >"$work/$bus.address" 2>/dev/null &
        buspids+=($!)
        for _ in $(seq 100); do [ -s "$work/$bus.address" ] && break; sleep 0.05; done
    done
    local system session
    system=$(head -n1 "$work/system.address") session=$(head -n1 "$work/session.address")
    DBUS_SYSTEM_BUS_ADDRESS=$system /usr/bin/python3 -m dbusmock --system --template logind >/dev/null 2>&1 &
    buspids+=($!)
    DBUS_SESSION_BUS_ADDRESS=$session /usr/bin/python3 -m dbusmock --template gnome_screensaver >/dev/null 2>&1 &
    buspids+=($!)
    DBUS_SYSTEM_BUS_ADDRESS=$system /usr/bin/python3 - <<'PY' >&2
import time, dbus
bus = dbus.SystemBus()
for _ in range(200):
    if bus.name_has_owner('org.freedesktop.login1'):
        break
    time.sleep(0.05)
logind = bus.get_object('org.freedesktop.login1', '/org/freedesktop/login1')
dbus.Interface(logind, 'org.freedesktop.DBus.Mock').AddSession('c1', 'seat0', dbus.UInt32(1000), 'someone', True)
PY
    environment=("DBUS_SYSTEM_BUS_ADDRESS=$system" "DBUS_SESSION_BUS_ADDRESS=$session" XDG_SESSION_ID=c1)
}

for mode in "${modes[@]}"; do
    start_xvfb
    environment=() buspids=()
    probemode=$mode
    rm -f "$work/LogSetin.ini"
    if [ "$mode" = desktop ] || [ "$mode" = away ]; then
        probemode=idle
        if /usr/bin/python3 -c 'import dbusmock' 2>/dev/null; then desktop_buses; fi
        [ "$mode" = away ] && printf '[Away]\nIdleMinutes=0.05\n' >"$work/LogSetin.ini"
        [ "$mode" = desktop ] && command -v xdotool >/dev/null && DISPLAY=":$display" xdotool mousemove 10 10
    fi
    (cd "$work" && DISPLAY=":$display" exec env "${environment[@]}" "$probe" "$probemode" $((seconds + 10))) >"$work/$mode.out" 2>&1 & pid=$!
    sleep 5 # start-up is not what is measured
    kill -0 $pid 2>/dev/null || { echo "$mode: the probe ended early:" >&2; cat "$work/$mode.out" >&2; exit 1; }
    before=$(cputicks $pid) woke=$(switches $pid) serverwoke=$(switches $xvfb)
    sleep "$seconds"
    after=$(cputicks $pid) woke=$(($(switches $pid) - woke)) serverwoke=$(($(switches $xvfb) - serverwoke))
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
    awk -v m="$mode" -v t=$((after - before)) -v hz="$tick" -v s="$seconds" -v w="$woke" -v x="$serverwoke" -v r="$rss" \
        'BEGIN { printf "%-9s %6.2f s of CPU in %d s = %5.2f %%, wake-ups/s %5.2f (X server %5.2f), RSS %.1f MB\n",
                 m, t / hz, s, 100 * t / hz / s, w / s, x / s, r / 1024 }'
    kill $pid $xvfb 2>/dev/null || true; wait $pid $xvfb 2>/dev/null || true
    [ ${#buspids[@]} -eq 0 ] || { kill "${buspids[@]}" 2>/dev/null || true; wait "${buspids[@]}" 2>/dev/null || true; }
done
