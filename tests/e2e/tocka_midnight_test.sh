# SPDX-License-Identifier: MIT
# A session that starts seconds before midnight is logged with the next
# day's date, its start time before midnight and the few seconds it ran.
source "$E2E_LIB"
lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n1)
[ -n "$lib" ] || fail "libfaketime is not installed"
start_xvfb

# The library itself rather than the faketime wrapper, which would stand
# between the test and the clock's process and keep the signal from it.
# Qt's timers keep real pace; only the wall clock starts just before midnight.
run_bg clock env LD_PRELOAD="$lib" FAKETIME='@2026-12-07 23:59:52' FAKETIME_DONT_FAKE_MONOTONIC=1 "$TOCKA_BIN"
pid=$!
wait_window '^Zemlo:  0:00:1[2-9]$' 40 >/dev/null || fail "the clock did not run past midnight"
kill -TERM "$pid"
wait_exit "$pid" 10

data="$E2E_DIR/work/LogData.log"
[ "$(line_of "$data" 1)" = '"----------"' ] || fail "bad separator: $(cat -A "$data")"
[ "$(line_of "$data" 2)" = '#2026-12-08#' ] || fail "end date: $(line_of "$data" 2)"
# A busy machine may take a moment to start it; the start is still before midnight.
[[ "$(line_of "$data" 3)" =~ ^#23:59:5[2-9]#$ ]] || fail "start time: $(line_of "$data" 3)"
[[ "$(line_of "$data" 4)" =~ ^#00:00:[0-5][0-9]#$ ]] || fail "end time: $(line_of "$data" 4)"
elapsed=$(line_of "$data" 5)
awk -v e="$elapsed" 'BEGIN { exit !(e >= 12 && e < 40) }' || fail "elapsed: $elapsed"
[ "$(line_of "$data" 6)" = "\"$(clock_text_of "$elapsed")\"" ] || fail "clock text: $(line_of "$data" 6)"
echo "1 passed, 0 failed"
