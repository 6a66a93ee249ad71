# SPDX-License-Identifier: MIT
# Files that are not what they should be, and signals that come before the
# window exists: Tocka neither hangs nor loses the session, and says what it
# found.
source "$E2E_LIB"
start_xvfb
data="$E2E_DIR/work/LogData.log"
settings="$E2E_DIR/bin/LogSetin.ini" # beside the program: a portable copy
journal="$XDG_DATA_HOME/tocka/journal"
records() { grep -c -- '^"----------"' "$data" 2>/dev/null || true; }

# Starts Tocka, waits for its clock (or for its first tick when $2 is set),
# ends it with SIGTERM and checks it logged one more session.
session_with() {
    local name=$1 before pid
    before=$(records)
    run_bg "$name" "$TOCKA_BIN"
    pid=$!
    wait_window '^Zemlo:  0:00:0[1-9]$' 20 >/dev/null || fail "$name: no clock: $(cat "$E2E_DIR/$name.out")"
    kill -TERM "$pid"
    wait_exit "$pid" 15
    [ "$EXIT_STATUS" = 0 ] || fail "$name: exit status $EXIT_STATUS: $(cat "$E2E_DIR/$name.out")"
    [ "$(records)" = $((before + 1)) ] || fail "$name: the session was not logged: $(cat "$E2E_DIR/$name.out")"
}

# Settings that are a FIFO (a blocking open would hang before the window
# shows) or a link to an endless device: named, and the design values used.
mkfifo "$settings"
session_with fifo
grep -q "LogSetin.ini: it is a FIFO (named pipe)" "$E2E_DIR/fifo.out" || fail "fifo: $(cat "$E2E_DIR/fifo.out")"
[ -p "$settings" ] || fail "the FIFO was replaced"
rm "$settings"
ln -s /dev/zero "$settings"
session_with zero
grep -q "LogSetin.ini: it is a character device" "$E2E_DIR/zero.out" || fail "zero: $(cat "$E2E_DIR/zero.out")"
rm "$settings"

# A journal entry that is a FIFO is reported and left; the new session is
# logged as usual.
mkdir -p "$journal"
mkfifo "$journal/20260101T000000-1-00000000.session"
session_with entry
grep -q "it is a FIFO" "$E2E_DIR/entry.out" || fail "entry: $(cat "$E2E_DIR/entry.out")"
rm "$journal/20260101T000000-1-00000000.session"

# SIGTERM the moment the handler is in place, long before the window is up:
# the session is still logged, with its length lines empty.
for try in 1 2 3; do
    before=$(records)
    run_bg "early$try" "$TOCKA_BIN"
    pid=$!
    caught=""
    for _ in $(seq 2000); do
        mask=$(sed -n 's/^SigCgt:\s*//p' "/proc/$pid/status" 2>/dev/null || true)
        [ -n "$mask" ] && (((16#$mask >> 14) & 1)) && { caught=1; break; }
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.005
    done
    [ -n "$caught" ] || fail "early$try: SIGTERM was never caught"
    kill -TERM "$pid"
    wait_exit "$pid" 20
    [ "$EXIT_STATUS" = 0 ] || fail "early$try: exit status $EXIT_STATUS: $(cat "$E2E_DIR/early$try.out")"
    [ "$(records)" = $((before + 1)) ] || fail "early$try: not logged: $(cat "$E2E_DIR/early$try.out")"
done
echo "1 passed, 0 failed"
