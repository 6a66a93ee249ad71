# Tallio end to end: the real window appears over a known log, and
# tallio-report prints the worked example byte for byte, in the user's
# formats, and refuses a damaged or missing log plainly.
source "$E2E_LIB"
[ -n "${TALLIO_BIN:-}" ] && [ -n "${TALLIO_REPORT_BIN:-}" ] || fail "TALLIO_BIN and TALLIO_REPORT_BIN must be set"

work="$E2E_DIR/work"
printf '"----------"\r\n#1999-11-16#\r\n#09:00:00#\r\n#10:00:00#\r\n3600\r\n"1:00:00"\r\n' >"$work/LogData.log"
printf '"----------"\r\n#1999-11-18#\r\n#09:00:00#\r\n#10:30:30#\r\n5430\r\n"1:30:30"\r\n' >>"$work/LogData.log"

# The report, byte for byte.
cat >"$E2E_DIR/expected" <<'TEXT'
9030 Secs
0 days / 2:30:30
-------------
0.1 Days
2.5 Hours
151 Minutes
-------------
2 runs Since 16 Nov 1999
Avg Length: 1:15:15
Sessions per Day: 1
-------------
Last Updated on: 18 Nov 1999
Note: to reduce cpu usage, current session is not included. Count is updated everytime you shutdown.
TEXT
(cd "$work" && "$TALLIO_REPORT_BIN") >"$E2E_DIR/report" || fail "tallio-report failed on a good log"
cmp "$E2E_DIR/expected" "$E2E_DIR/report" || { diff "$E2E_DIR/expected" "$E2E_DIR/report" >&2; fail "report differs"; }

# The user's decimal separator and short date format.
(cd "$work" && LC_ALL=de_DE.UTF-8 "$TALLIO_REPORT_BIN") >"$E2E_DIR/report.de" || fail "tallio-report failed in German"
[ "$(sed -n 4p "$E2E_DIR/report.de")" = "0,1 Days" ] || fail "German line 4: $(sed -n 4p "$E2E_DIR/report.de")"
[ "$(sed -n 8p "$E2E_DIR/report.de")" = "2 runs Since 16.11.1999" ] || fail "German line 8: $(sed -n 8p "$E2E_DIR/report.de")"

# A torn last record: nothing on standard output, the line on standard error.
mkdir "$E2E_DIR/torn"
head -c 100 "$work/LogData.log" >"$E2E_DIR/torn/LogData.log"
status=0
(cd "$E2E_DIR/torn" && "$TALLIO_REPORT_BIN") >"$E2E_DIR/torn.out" 2>"$E2E_DIR/torn.err" || status=$?
[ "$status" -eq 1 ] || fail "torn log: exit status $status"
[ ! -s "$E2E_DIR/torn.out" ] || fail "torn log: something on standard output"
grep -q "starts on line 7 has only 3 of its 6 lines" "$E2E_DIR/torn.err" || fail "torn log: $(cat "$E2E_DIR/torn.err")"

# No log at all: the folder it looked in is named.
mkdir "$E2E_DIR/none"
status=0
(cd "$E2E_DIR/none" && "$TALLIO_REPORT_BIN") >/dev/null 2>"$E2E_DIR/none.err" || status=$?
[ "$status" -eq 1 ] || fail "missing log: exit status $status"
grep -qF "LogData.log in the folder $E2E_DIR/none and it is not there" "$E2E_DIR/none.err" \
    || fail "missing log: $(cat "$E2E_DIR/none.err")"

# The window, started in the folder that holds the log.
start_xvfb
run_bg tallio "$TALLIO_BIN"
tallio_pid=${E2E_PIDS[-1]}
wait_window "^Zemlo Analysis: Time spent$" 20 >/dev/null || { cat "$E2E_DIR/tallio.out" >&2; fail "no Tallio window"; }
kill -0 "$tallio_pid" || fail "tallio ended by itself"
if [ -n "${TALLIO_SCREENSHOT:-}" ]; then
    sleep 1
    import -window root "$TALLIO_SCREENSHOT"
fi
echo "tallio end-to-end: ok"
