# SPDX-License-Identifier: MIT
# A session killed outright (power loss, kill -9) is not lost: the next start
# writes it into both logs from its journal entry and says so.
source "$E2E_LIB"
start_xvfb

run_bg crashed "$TOCKA_BIN"
pid=$!
wait_window '^Zemlo:  0:00:0[2-9]$' >/dev/null || fail "the clock did not start"
kill -KILL "$pid"
wait_exit "$pid" 10
compgen -G "$XDG_DATA_HOME/tocka/journal/*.session" >/dev/null || fail "no journal entry of the running session"
[ ! -e "$E2E_DIR/work/LogData.log" ] || fail "a killed copy cannot have logged"

run_bg next "$TOCKA_BIN"
pid=$!
box=$(xdotool search --sync --onlyvisible --name '^Tocka!$' | head -n1)
[ -n "$box" ] || fail "the user was not told about the recovered session"
grep -q "recovered a session" "$E2E_DIR/next.out" || fail "no note on stderr: $(cat "$E2E_DIR/next.out")"
data="$E2E_DIR/work/LogData.log"
[ "$(grep -c -- '^"----------"' "$data")" = 1 ] || fail "the recovered record is missing: $(cat -A "$data")"
# The entry saved at the first tick: a second into the session.
[[ "$(line_of "$data" 6)" =~ ^\"0:00:0[0-9]\"$ ]] || fail "recovered clock text: $(line_of "$data" 6)"
[ "$(grep -c -- '^----------' "$E2E_DIR/work/Log.log")" = 1 ] || fail "Log.log did not get it"
press_key_in "$box" Return
wait_window '^Zemlo:  0:00:0[1-9]$' >/dev/null || fail "the clock did not go on"
kill -TERM "$pid"
wait_exit "$pid" 10
[ "$(grep -c -- '^"----------"' "$data")" = 2 ] || fail "expected the recovered and the new record"
echo "1 passed, 0 failed"
