# SPDX-License-Identifier: MIT
# The time since the last input, as the real platform reads it from the X
# server: it grows while nothing happens, on the monotonic clock's scale (so
# the moment of the last input it implies stands still, though the probe's wall
# clock runs at twice the pace), and starts again at a pointer move. Under a
# Wayland compositor the X server is not asked. No bus is there: nothing is
# locked or inhibited, and nothing waits for an answer.
source "$E2E_LIB"
[ -x "${PRESENCE_PROBE_BIN:-}" ] || fail "PRESENCE_PROBE_BIN is not set"
command -v xdotool >/dev/null || skip_test "needs xdotool (scripts/install-deps.sh test)"
start_xvfb
export DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_DIR/no-session-bus"
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$E2E_DIR/no-system-bus"
unset XDG_SESSION_TYPE XDG_SESSION_ID

# start_probe [ENV...]: a probe to ask, as PROBE.
start_probe() {
    coproc PROBE { exec env "$@" "$PRESENCE_PROBE_BIN" 2>>"$E2E_DIR/probe.err"; }
    E2E_PIDS+=("$PROBE_PID")
}
stop_probe() {
    local pid=$PROBE_PID
    exec {PROBE[1]}>&-
    wait "$pid" || fail "the probe ended badly: $(cat "$E2E_DIR/probe.err")"
}
# ask COMMAND: the probe's answer, in $answer.
ask() {
    echo "$1" >&"${PROBE[1]}"
    read -r -t 20 answer <&"${PROBE[0]}" || fail "no answer to '$1': $(cat "$E2E_DIR/probe.err")"
}
# reading: the idle time, and the earliest and latest moment of the last
# input that it implies (the server read its clock between the probe's two
# readings; both clocks count whole milliseconds).
reading() {
    ask idle
    read -r _ idle before after <<<"$answer"
    [[ $idle =~ ^[0-9]+$ ]] || fail "no idle time from the X server: '$answer'"
    earliest=$((before - idle - 1)) latest=$((after - idle + 1))
}
# read_until CONDITION: readings until the shell test CONDITION holds.
read_until() {
    for _ in $(seq 200); do
        reading
        eval "$1" && return 0
        sleep 0.05
    done
    return 1
}

faketime=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
if [ -e "$faketime" ]; then
    start_probe LD_PRELOAD="$faketime" FAKETIME="+0 x2" FAKETIME_DONT_FAKE_MONOTONIC=1 DONT_FAKE_MONOTONIC=1
else
    skip_part "the wall clock at another pace (needs libfaketime)"
    start_probe
fi
reading
moved_after=$after
xdotool mousemove 100 100
read_until '[ "$latest" -ge "$moved_after" ]' || fail "the pointer move did not restart the idle time: $answer"
[ "$earliest" -le "$before" ] || fail "a last input after the reading: $answer"
first_idle=$idle
# Every reading while nothing happens implies the same last input, however
# late it comes: the server's clock and ours run as one.
low=$earliest high=$latest
for _ in $(seq 300); do
    sleep 0.1
    reading
    [ "$earliest" -gt "$low" ] && low=$earliest
    [ "$latest" -lt "$high" ] && high=$latest
    [ "$low" -le "$high" ] || fail "the last input moved while nothing happened: now $answer, earlier between $low and $high"
    [ "$idle" -ge $((first_idle + 1500)) ] && break
done
[ "$idle" -ge $((first_idle + 1500)) ] || fail "the idle time did not grow: $first_idle, then $idle"
[ "$low" -ge "$moved_after" ] || fail "the last input before the move"

before_move=$idle
xdotool mousemove 200 200
read_until '[ "$idle" -lt "$before_move" ]' ||
    fail "the second move did not restart the idle time: $before_move, then $idle"
[ "$earliest" -gt "$high" ] || fail "the last input did not move forward"

ask locked
[ "$answer" = "locked 0" ] || fail "locked without a bus: $answer"
ask inhibited
[ "$answer" = "inhibited 0" ] || fail "no bus to ask, yet no answer at once: $answer"
stop_probe

# XWayland sees only the input to X windows: never asked there.
start_probe WAYLAND_DISPLAY=wayland-e2e
ask idle
[[ $answer == "idle none "* ]] || fail "under Wayland the X server's count was taken: $answer"
stop_probe
[ ! -s "$E2E_DIR/probe.err" ] || fail "the probe complained: $(cat "$E2E_DIR/probe.err")"
e2e_end "1 passed, 0 failed"
