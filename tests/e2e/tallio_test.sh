# SPDX-License-Identifier: MIT
# Tallio end to end: the real window appears over a known log, and
# tallio-report prints the worked example byte for byte, in the user's
# formats, and refuses a damaged or missing log plainly; its history takes
# the time away from LogAway.log beside the log, and does without it.
source "$E2E_LIB"
[ -n "${TALLIO_BIN:-}" ] && [ -n "${TALLIO_REPORT_BIN:-}" ] || fail "TALLIO_BIN and TALLIO_REPORT_BIN must be set"

work="$E2E_DIR/work"
write_two_session_log "$work"

# The report, byte for byte.
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
grep -q "desktop menu" "$E2E_DIR/none.err" && fail "missing log: a desktop log that is not there is named"

# No log here, but the log folder of a desktop start has one: a line of its
# own names it, with a command that works as it is printed (the folder has a
# space and a quote in it), and nothing else changes.
desktop_data="$E2E_DIR/my data's"
mkdir -p "$desktop_data/tocka"
cp "$work/LogData.log" "$desktop_data/tocka/"
status=0
(cd "$E2E_DIR/none" && XDG_DATA_HOME="$desktop_data" "$TALLIO_REPORT_BIN") >"$E2E_DIR/none.out" 2>"$E2E_DIR/none.err" ||
    status=$?
[ "$status" -eq 1 ] && [ ! -s "$E2E_DIR/none.out" ] || fail "missing log, desktop log there: status $status, $(cat "$E2E_DIR/none.out")"
grep -qF "LogData.log in the folder $E2E_DIR/none and it is not there" "$E2E_DIR/none.err" ||
    fail "missing log, desktop log there: $(cat "$E2E_DIR/none.err")"
note=$(grep "^tallio-report: Tocka started from the desktop menu or at login logs in $desktop_data/tocka, " "$E2E_DIR/none.err") ||
    fail "missing log: the desktop log is not named: $(cat "$E2E_DIR/none.err")"
suggested=${note##*: }
(cd "$E2E_DIR/none" && PATH="$(dirname "$TALLIO_REPORT_BIN"):$PATH" eval "$suggested") >"$E2E_DIR/suggested" ||
    fail "the command the note suggests failed: $suggested"
cmp -s "$E2E_DIR/expected" "$E2E_DIR/suggested" || fail "the command the note suggests ($suggested) reports otherwise"
# A log named on the command line is the one meant.
(cd "$E2E_DIR/none" && XDG_DATA_HOME="$desktop_data" "$TALLIO_REPORT_BIN" LogData.log) 2>"$E2E_DIR/none.err" && fail "a missing LOGFILE passed"
grep -q "desktop menu" "$E2E_DIR/none.err" && fail "a missing LOGFILE named the desktop log: $(cat "$E2E_DIR/none.err")"

# The history, in each form, on the worked example (16 Nov 1999 was a Tuesday).
history() { (cd "$work" && "$TALLIO_REPORT_BIN" "$@"); }
expect_history() {
    local want=$1; shift
    local got
    got=$(history "$@") || fail "tallio-report $* failed"
    [ "$got" = "$want" ] || fail "tallio-report $*:"$'\n'"$got"$'\n'"wanted:"$'\n'"$want"
}
expect_history $'period,sessions,seconds,away\n1999-11-16,1,3600,0\n1999-11-17,0,0,0\n1999-11-18,1,5430,0' --by day --format csv
expect_history $'[\n  {"period": "1999-11-15", "sessions": 2, "seconds": 9030, "away": 0}\n]' --by=week --format=json
expect_history $'period      sessions     time     away\n1999-11-01         2  2:30:30  0:00:00\ntotal              2  2:30:30  0:00:00' --by month
expect_history $'period,sessions,seconds,away\n1999-11-18,1,5430,0' --by day --format csv --since 1999-11-17 LogData.log
expect_history $'[]' --by day --format json --until 1999-11-15
history --by day --format csv | od -c | grep -q '\\r' && fail "CR in the CSV"

# With LogAway.log beside the log: the locked and idle seconds of each
# session (not its time asleep), whatever orphan or damaged lines come
# between; the seconds and the plain report stay as they were, to the byte.
printf '1999-11-15,09:00:00,10:00:00,0,99,99\r\n1999-11-16,09:00:00,10:00:00,1200,600,300\r\n' >"$work/LogAway.log"
printf '1999-11-18,09:00:00,10:30:30,0,x,0\r\n1999-11-18,09:00:00,10:30:30,0,0,61\r\n' >>"$work/LogAway.log"
expect_history $'period,sessions,seconds,away\n1999-11-16,1,3600,900\n1999-11-17,0,0,0\n1999-11-18,1,5430,61' --by day --format csv
expect_history $'[\n  {"period": "1999-11-15", "sessions": 2, "seconds": 9030, "away": 961}\n]' --by week --format json
expect_history $'period      sessions     time     away\n1999-11-01         2  2:30:30  0:16:01\ntotal              2  2:30:30  0:16:01' --by month
(cd "$work" && "$TALLIO_REPORT_BIN") >"$E2E_DIR/report.away" || fail "tallio-report failed beside LogAway.log"
cmp -s "$E2E_DIR/expected" "$E2E_DIR/report.away" || fail "LogAway.log changed the report"
# A LogAway.log that cannot be read leaves the time away out, says so, and
# is no failure.
mkdir "$E2E_DIR/awaydir" && cp "$work/LogData.log" "$E2E_DIR/awaydir/" && mkdir "$E2E_DIR/awaydir/LogAway.log"
(cd "$E2E_DIR/awaydir" && "$TALLIO_REPORT_BIN" --by month --format csv) >"$E2E_DIR/awaydir.out" 2>"$E2E_DIR/awaydir.err" ||
    fail "an unreadable LogAway.log failed the history: $(cat "$E2E_DIR/awaydir.err")"
[ "$(cat "$E2E_DIR/awaydir.out")" = $'period,sessions,seconds,away\n1999-11-01,2,9030,0' ] || fail "unreadable LogAway.log: $(cat "$E2E_DIR/awaydir.out")"
grep -q "^tallio-report: The time away is left out: LogAway.log in the folder $E2E_DIR/awaydir cannot be read: it is a folder" \
    "$E2E_DIR/awaydir.err" || fail "unreadable LogAway.log not named: $(cat "$E2E_DIR/awaydir.err")"

# Wrong arguments (each rule has its row in the unit test of the options):
# the reason and the usage on standard error, status 2, nothing on standard
# output.
for args in "--frobnicate" "--by day --by week"; do
    status=0
    # shellcheck disable=SC2086 # the arguments are meant to split
    history $args >"$E2E_DIR/bad.out" 2>"$E2E_DIR/bad.err" || status=$?
    [ "$status" -eq 2 ] || fail "tallio-report $args: status $status"
    [ ! -s "$E2E_DIR/bad.out" ] || fail "tallio-report $args: something on standard output"
    grep -q "^Usage: tallio-report" "$E2E_DIR/bad.err" || fail "tallio-report $args: no usage: $(cat "$E2E_DIR/bad.err")"
    [ "$(grep -c "^tallio-report: " "$E2E_DIR/bad.err")" = 1 ] || fail "tallio-report $args: no reason: $(cat "$E2E_DIR/bad.err")"
done
history --help | grep -q -- "--by day|week|month" || fail "--help does not tell of --by"
history --version | grep -Eqx "tallio-report [0-9]+\.[0-9]+\.[0-9]+" || fail "--version: $(history --version)"

# A damaged log with --by: as without it.
status=0
(cd "$E2E_DIR/torn" && "$TALLIO_REPORT_BIN" --by day --format csv) >"$E2E_DIR/torn.out" 2>"$E2E_DIR/torn.err" || status=$?
[ "$status" -eq 1 ] && [ ! -s "$E2E_DIR/torn.out" ] || fail "torn log with --by: status $status, $(cat "$E2E_DIR/torn.out")"
grep -q "starts on line 7" "$E2E_DIR/torn.err" || fail "torn log with --by: $(cat "$E2E_DIR/torn.err")"

# The window, started in the folder that holds the log.
start_xvfb
run_bg tallio "$TALLIO_BIN"
tallio_pid=${E2E_PIDS[-1]}
main=$(wait_window "^Zemlo Analysis: Time spent$" 20) || { cat "$E2E_DIR/tallio.out" >&2; fail "no Tallio window"; }
kill -0 "$tallio_pid" || fail "tallio ended by itself"

# From the keyboard alone: the Menu key opens the report's menu, and its
# letter H opens the History window.
xdotool search --sync --onlyvisible --name "^Zemlo Analysis: Time spent$" >/dev/null
xdotool windowfocus --sync "$main"
shown() { xdotool search --onlyvisible --pid "$tallio_pid" 2>/dev/null | wc -l; }
before=$(shown)
xdotool key --window "$main" Menu
# The menu has no title to wait for: wait for one more window of Tallio's.
for _ in $(seq 100); do [ "$(shown)" -gt "$before" ] && break; sleep 0.1; done
[ "$(shown)" -gt "$before" ] || fail "the Menu key opened no menu ($before windows before, $(shown) after)"
xdotool key h
wait_window "^Zemlo Analysis: History$" 20 >/dev/null || { cat "$E2E_DIR/tallio.out" >&2; fail "Menu, H: no History window"; }
if [ -n "${TALLIO_SCREENSHOT:-}" ]; then
    sleep 1
    import -window root "$TALLIO_SCREENSHOT"
fi
echo "tallio end-to-end: ok"
