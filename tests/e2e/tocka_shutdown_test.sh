# SPDX-License-Identifier: MIT
# The system shuts down: logind announces it with PrepareForShutdown while
# Tocka's delay lock holds it back. Tocka logs the session once, and lets the
# lock go only after the record is on disk; the SIGTERM that follows at
# shutdown writes nothing more. logind here is python3-dbusmock's on a
# private system bus.
source "$E2E_LIB"
command -v dbus-daemon >/dev/null && /usr/bin/python3 -c 'import dbusmock' 2>/dev/null ||
    fail "needs dbus-daemon and python3-dbusmock (scripts/install-deps.sh test)"
start_xvfb
data="$E2E_DIR/work/LogData.log"

dbus-daemon --session --nofork --nopidfile --address="unix:path=$E2E_DIR/system_bus" \
    --print-address=3 3>"$E2E_DIR/bus_address" >"$E2E_DIR/bus.out" 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 100); do [ -s "$E2E_DIR/bus_address" ] && break; sleep 0.1; done
[ -s "$E2E_DIR/bus_address" ] || fail "the private bus did not start: $(cat "$E2E_DIR/bus.out")"
export DBUS_SYSTEM_BUS_ADDRESS=$(head -n1 "$E2E_DIR/bus_address")
/usr/bin/python3 -m dbusmock --system --template logind >"$E2E_DIR/logind.out" 2>&1 &
E2E_PIDS+=($!)

# logind ACTION [ARG]: talks to the mock.
logind() {
    /usr/bin/python3 - "$@" <<'PY'
import sys, time, dbus
bus = dbus.SystemBus()
def manager():
    obj = bus.get_object('org.freedesktop.login1', '/org/freedesktop/login1')
    return dbus.Interface(obj, 'org.freedesktop.login1.Manager'), dbus.Interface(obj, 'org.freedesktop.DBus.Mock')
def tocka_locks(m):
    return [i for i in m.ListInhibitors() if str(i[1]) == 'Tocka']
action = sys.argv[1]
if action == 'wait':
    for _ in range(200):
        if bus.name_has_owner('org.freedesktop.login1'):
            sys.exit(0)
        time.sleep(0.05)
    sys.exit(1)
m, mock = manager()
if action == 'locks':
    print(' '.join('%s:%s' % (i[0], i[3]) for i in tocka_locks(m)))
elif action == 'shutdown':
    mock.EmitSignal('org.freedesktop.login1.Manager', 'PrepareForShutdown', 'b', [dbus.Boolean(True)])
elif action == 'records-when-released':
    # Polls until Tocka's lock is gone, then counts the records that were
    # on disk at that moment.
    for _ in range(20000):
        if not tocka_locks(m):
            try:
                print(open(sys.argv[2], 'rb').read().count(b'"----------"'))
            except FileNotFoundError:
                print(0)
            sys.exit(0)
        time.sleep(0.001)
    print('still held')
PY
}
logind wait || fail "the mock logind did not come up: $(cat "$E2E_DIR/logind.out")"

run_bg tocka "$TOCKA_BIN"
pid=$!
wait_window '^Zemlo:  0:00:0[1-9]$' >/dev/null || fail "no clock: $(cat "$E2E_DIR/tocka.out")"
[ "$(logind locks)" = "shutdown:delay" ] || fail "no delay lock on shutdown: '$(logind locks)'"

logind records-when-released "$data" >"$E2E_DIR/released" &
watcher=$!
logind shutdown
# systemd ends every process at shutdown: the signal finds the session logged.
kill -TERM "$pid" 2>/dev/null || true
wait_exit "$pid" 15
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS: $(cat "$E2E_DIR/tocka.out")"
wait "$watcher"
grep -q "ending on shutdown" "$E2E_DIR/tocka.out" || fail "not ended by the shutdown: $(cat "$E2E_DIR/tocka.out")"
[ "$(cat "$E2E_DIR/released")" = 1 ] ||
    fail "records on disk when the lock was let go: $(cat "$E2E_DIR/released") (expected 1)"
[ "$(grep -c -- '^"----------"' "$data")" = 1 ] || fail "expected one record: $(cat -A "$data")"
[ "$(grep -c -- '^----------' "$E2E_DIR/work/Log.log")" = 1 ] || fail "expected one record in Log.log"
[ -z "$(ls "$XDG_DATA_HOME/tocka/journal")" ] || fail "the journal still owes: $(ls "$XDG_DATA_HOME/tocka/journal")"
echo "1 passed, 0 failed"
