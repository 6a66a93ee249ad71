# SPDX-License-Identifier: MIT
# Tocka in a real X server: a second copy is refused with the message box and
# changes nothing; SIGTERM, SIGHUP and SIGINT each end the session the normal
# way, with one record in each log, byte for byte.
source "$E2E_LIB"
start_xvfb

run_bg first "$TOCKA_BIN"
first=$!
wait_window '^Zemlo:  0:00:0[2-9]$' >/dev/null || fail "the clock did not start ticking"

run_bg second "$TOCKA_BIN"
second=$!
box=$(xdotool search --sync --onlyvisible --name '^Tocka!$' | head -n1)
[ -n "$box" ] || fail "no message box for the second copy"
kill -0 "$second" || fail "the second copy ended before its message was dismissed"
press_key_in "$box" Return
wait_exit "$second" 10
kill -0 "$first" || fail "the first copy ended"
[ ! -e "$E2E_DIR/work/LogData.log" ] || fail "the refused copy wrote a log"

kill -TERM "$first"
wait_exit "$first" 10
grep -q "ending on signal 15" "$E2E_DIR/first.out" || fail "no note of the signal: $(cat "$E2E_DIR/first.out")"

data="$E2E_DIR/work/LogData.log"
display="$E2E_DIR/work/Log.log"
D='#[0-9]{4}-[0-9]{2}-[0-9]{2}#' T='#[0-9]{2}:[0-9]{2}:[0-9]{2}#' N='[0-9]+(\.[0-9]+)?'
matches_file "$data" "\"----------\"\r\n$D\r\n$T\r\n$T\r\n$N\r\n\"[0-9]+:[0-9]{2}:[0-9]{2}\"\r\n" ||
    fail "LogData.log is not one data record: $(cat -A "$data")"
elapsed=$(line_of "$data" 5)
[ "\"$(clock_text_of "$elapsed")\"" = "$(line_of "$data" 6)" ] || fail "clock text does not match $elapsed"
awk -v e="$elapsed" 'BEGIN { exit !(e >= 1.5 && e < 60) }' || fail "elapsed $elapsed is not the few seconds it ran"

# The display record says the same in the C locale's formats, but for its end
# time: each log reads the clock as it is written, Log.log first, so on a busy
# machine a second can pass between the two.
date=$(line_of "$data" 2 | tr -d '#')
shown_end=$(line_of "$display" 4)
expected=$(printf -- '----------\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n' \
    "$(LC_ALL=C date -d "$date" '+%-d %b %Y')" "$(line_of "$data" 3 | tr -d '#')" \
    "$shown_end" "$elapsed" "$(line_of "$data" 6 | tr -d '"')")
[ "$(cat "$display")" = "$expected" ] || fail "Log.log differs: $(cat -A "$display") against $(cat -A "$data")"
lag=$(($(date -d "$date $(line_of "$data" 4 | tr -d '#')" +%s) - $(date -d "$date $shown_end" +%s)))
[ "$lag" -ge 0 ] && [ "$lag" -le 5 ] || fail "Log.log ends at $shown_end, LogData.log at $(line_of "$data" 4)"
[ -z "$(ls "$XDG_DATA_HOME/tocka/journal")" ] || fail "the journal kept a logged session: $(ls "$XDG_DATA_HOME/tocka/journal")"

# SIGHUP and SIGINT log the same way.
for sig in HUP INT; do
    run_bg "$sig" "$TOCKA_BIN"
    pid=$!
    wait_window '^Zemlo:  0:00:0[1-9]$' >/dev/null || fail "no clock for SIG$sig"
    kill "-$sig" "$pid"
    wait_exit "$pid" 10
done
[ "$(grep -c -- '^"----------"' "$data")" = 3 ] || fail "expected three records: $(cat -A "$data")"
[ "$(grep -c -- '^----------' "$display")" = 3 ] || fail "expected three display records"
echo "1 passed, 0 failed"
