# SPDX-License-Identifier: MIT
# Time away, end to end: the screen locked for a while (logind's session, as
# python3-dbusmock's on a private system bus, says so through LockedHint),
# then nobody touching the X server for a while with a threshold of three
# seconds; LogAway.log's line for the session holds both, and LogData.log's
# record pairs with it.
source "$E2E_LIB"
command -v dbus-daemon >/dev/null && /usr/bin/python3 -c 'import dbusmock' 2>/dev/null ||
    fail "needs dbus-daemon and python3-dbusmock (scripts/install-deps.sh test)"
command -v xdotool >/dev/null || fail "needs xdotool (scripts/install-deps.sh test)"
start_xvfb

# Private buses: the system one with logind, an empty session one.
for bus in system session; do
    dbus-daemon --session --nofork --nopidfile --address="unix:path=$E2E_DIR/${bus}_bus" \
        --print-address=3 3>"$E2E_DIR/${bus}_address" >"$E2E_DIR/$bus.out" 2>&1 &
    E2E_PIDS+=($!)
done
for _ in $(seq 100); do [ -s "$E2E_DIR/system_address" ] && [ -s "$E2E_DIR/session_address" ] && break; sleep 0.1; done
export DBUS_SYSTEM_BUS_ADDRESS=$(head -n1 "$E2E_DIR/system_address")
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$E2E_DIR/session_address")
[ -n "$DBUS_SYSTEM_BUS_ADDRESS" ] && [ -n "$DBUS_SESSION_BUS_ADDRESS" ] || fail "the private buses did not start"
/usr/bin/python3 -m dbusmock --system --template logind >"$E2E_DIR/logind.out" 2>&1 &
E2E_PIDS+=($!)

# session ACTION: talks to the mock's session c1.
session() {
    /usr/bin/python3 - "$@" <<'PY'
import os, sys, time, dbus
bus = dbus.SystemBus()
for _ in range(200):
    if bus.name_has_owner('org.freedesktop.login1'):
        break
    time.sleep(0.05)
else:
    sys.exit('no logind')
manager = bus.get_object('org.freedesktop.login1', '/org/freedesktop/login1')
mock = dbus.Interface(manager, 'org.freedesktop.DBus.Mock')
action = sys.argv[1]
if action == 'add':
    mock.AddSession('c1', 'seat0', dbus.UInt32(os.getuid()), 'someone', True)
    mock.AddMethod('org.freedesktop.login1.Manager', 'GetSession', 's', 'o',
                   "ret = '/org/freedesktop/login1/session/c1'")
else:
    session = bus.get_object('org.freedesktop.login1', '/org/freedesktop/login1/session/c1')
    dbus.Interface(session, 'org.freedesktop.DBus.Mock').UpdateProperties(
        'org.freedesktop.login1.Session', {'LockedHint': dbus.Boolean(action == 'lock')})
PY
}
session add || fail "the mock logind did not come up: $(cat "$E2E_DIR/logind.out")"

# Idle after three seconds without input.
printf '[Away]\nIdleMinutes=0.05\n' >"$E2E_DIR/bin/LogSetin.ini"
now() { date +%s.%N; }
# busy SECONDS: someone at the computer, moving the pointer.
busy() {
    local i
    for i in $(seq "$1"); do
        xdotool mousemove $((100 + i * 7)) $((100 + i * 5))
        sleep 1
    done
}

xdotool mousemove 50 50
XDG_SESSION_ID=c1 run_bg tocka "$TOCKA_BIN"
pid=$!
wait_window '^Zemlo:  0:00:0[1-9]$' >/dev/null || fail "no clock: $(cat "$E2E_DIR/tocka.out")"
busy 3
locked_at=$(now)
session lock
sleep 6
session unlock
xdotool mousemove 300 300 # the password typed
unlocked_at=$(now)
busy 3
xdotool mousemove 400 400
idle_from=$(now)
sleep 12
xdotool mousemove 500 500
idle_to=$(now)
busy 2
kill -TERM "$pid"
wait_exit "$pid" 15
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS: $(cat "$E2E_DIR/tocka.out")"

away="$E2E_DIR/work/LogAway.log"
[ "$(wc -l <"$away")" = 1 ] || fail "expected one line: $(cat -A "$away" 2>&1)"
IFS=, read -r date start end asleep locked idle <<<"$(tr -d '\r' <"$away")"
data="$E2E_DIR/work/LogData.log"
[ "#$date#" = "$(line_of "$data" 2)" ] && [ "#$start#" = "$(line_of "$data" 3)" ] && [ "#$end#" = "$(line_of "$data" 4)" ] ||
    fail "the line does not pair with the record: $(cat "$away") / $(cat -A "$data")"
# within_of VALUE FROM TO [LESS]: VALUE is the seconds from FROM to TO, give
# or take the clock's tick and the test's own steps, and up to LESS seconds
# fewer.
within_of() {
    awk -v v="$1" -v a="$2" -v b="$3" -v less="${4:-0}" 'BEGIN { d = b - a; exit !(v >= d - 2 - less && v <= d + 2) }'
}
[ "$asleep" = 0 ] || fail "asleep: $asleep"
within_of "$locked" "$locked_at" "$unlocked_at" || fail "locked $locked s, expected about $(awk -v a="$locked_at" -v b="$unlocked_at" 'BEGIN { print b - a }')"
# While nobody is there the idle time is read every five seconds, so the end
# of the stretch is known to within that.
within_of "$idle" "$idle_from" "$idle_to" 5 || fail "idle $idle s, expected about $(awk -v a="$idle_from" -v b="$idle_to" 'BEGIN { print b - a }')"
e2e_end "time away: ok (locked $locked s, idle $idle s)"
