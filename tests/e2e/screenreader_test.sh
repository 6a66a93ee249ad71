#!/bin/bash
# SPDX-License-Identifier: MIT
# What a screen reader gets from the programs, read through AT-SPI on a
# private bus: Tallio's report line by line and its message when the log is
# missing, the values in the settings window's boxes, and the order in which
# Tab goes through the settings window's controls, reaching Command1.
source "$E2E_LIB"
[ -n "${TALLIO_BIN:-}" ] && [ -n "${TOCKA_BIN:-}" ] || fail "TALLIO_BIN and TOCKA_BIN must be set"
start_xvfb 1280x800x24
start_atspi

# Tallio's report, its thirteen lines in order.
work="$E2E_DIR/work"
write_two_session_log "$work"
run_bg tallio "$TALLIO_BIN"
TALLIO_PID=$!
atspi_probe text tallio "Zemlo Analysis: Time spent" >"$E2E_DIR/read" || fail "Tallio's window could not be read"
cmp -s "$E2E_DIR/expected" "$E2E_DIR/read" || { diff "$E2E_DIR/expected" "$E2E_DIR/read" >&2; fail "the report read differs"; }
# The report holds the focus, so a reader reads it as the window comes up.
TALLIO=$(wait_window '^Zemlo Analysis: Time spent$') || fail "Tallio's window did not appear"
xdotool windowfocus --sync "$TALLIO" 2>/dev/null || xdotool windowfocus "$TALLIO"
atspi_probe focused tallio "Zemlo Analysis: Time spent" >"$E2E_DIR/read" || fail "nothing in Tallio holds the focus"
cmp -s "$E2E_DIR/expected" "$E2E_DIR/read" || fail "the focus is on '$(head -n 1 "$E2E_DIR/read")', not the report"
kill "$TALLIO_PID"
wait_exit "$TALLIO_PID" 20

# Without a log, the message naming the folder it looked in.
mkdir "$E2E_DIR/empty"
(cd "$E2E_DIR/empty" && exec "$TALLIO_BIN") >"$E2E_DIR/tallio2.out" 2>&1 &
E2E_PIDS+=($!)
atspi_probe text tallio "Zemlo Analysis: Time spent" >"$E2E_DIR/read" || fail "Tallio's window could not be read"
grep -qF "LogData.log in the folder $E2E_DIR/empty " "$E2E_DIR/read" || fail "no log: read instead: $(cat "$E2E_DIR/read")"
kill "${E2E_PIDS[-1]}"

# The settings window, opened from the clock face.
run_bg tocka "$TOCKA_BIN"
CLOCK=$(wait_window '^(Zemlo:  |Been On Since)') || fail "the clock window did not appear"
eval "$(xdotool getwindowgeometry --shell "$CLOCK")"
xdotool mousemove --sync $((X + 40)) $((Y + 8)) click 3
SETTINGS=$(wait_window '^Zemlo Settings$') || fail "the settings window did not open"
# A window of its own for the task bar, not a dialog tied to another one.
xprop -id "$SETTINGS" WM_TRANSIENT_FOR | grep -q 'not found' ||
    fail "the settings window is transient: $(xprop -id "$SETTINGS" WM_TRANSIENT_FOR)"
xprop -id "$SETTINGS" _NET_WM_WINDOW_TYPE | grep -q '_NET_WM_WINDOW_TYPE_NORMAL' ||
    fail "the settings window is not a normal window: $(xprop -id "$SETTINGS" _NET_WM_WINDOW_TYPE)"
atspi_probe boxes tocka "Zemlo Settings" >"$E2E_DIR/boxes" || fail "the settings window could not be read"
cat >"$E2E_DIR/expected" <<'TEXT'
Fore G Red=0
Fore G Green=204
Fore G Blue=238
Back G Red=0
Back G Green=128
Back G Blue=128
Colour Scheme Hex Fore G=00CCEE
Colour Scheme Hex Back G=008080
Update Interval=150
Fade Magnitude=20
Contrast Offset=0
Update Interval=60
Horizontal Movement=0
Vertical Movement=0
Tocka Interval=20
Time Until Tock=20
Break Duration=0
Resolution=2000
Break alarm note=The break alarm starts when "Tock Enabled" is ticked: untick it and tick it again. The seconds left until the next break then show here.
TEXT
cmp -s "$E2E_DIR/expected" "$E2E_DIR/boxes" || { diff "$E2E_DIR/expected" "$E2E_DIR/boxes" >&2; fail "the boxes read differ"; }

# Tab goes once round every enabled control, panel by panel, to Command1.
xdotool windowfocus --sync "$SETTINGS" 2>/dev/null || xdotool windowfocus "$SETTINGS"
atspi_probe tabs tocka "Zemlo Settings" >"$E2E_DIR/tabs" || fail "Tab could not be followed"
cat >"$E2E_DIR/expected" <<'TEXT'
Fore G Red
Fore G Green
Fore G Blue
Back G Red
Back G Green
Back G Blue
Colour Scheme Hex Fore G
Colour Scheme Hex Back G
Update Interval
Fade Magnitude
Contrast Offset
Allow Fading
Tocka picture
Update Interval
Horizontal Movement
Vertical Movement
Always On Top
Tock Enabled
Tocka Interval
Time Until Tock
Force Break
Break Duration
Resolution
Break alarm note
Command1
TEXT
# Once round from wherever the focus started: compare from the first box on.
start=$(grep -nxm1 'Fore G Red' "$E2E_DIR/tabs" | cut -d: -f1) || fail "Tab never reached the first box: $(cat "$E2E_DIR/tabs")"
{ tail -n +"$start" "$E2E_DIR/tabs"; head -n $((start - 1)) "$E2E_DIR/tabs"; } >"$E2E_DIR/round"
cmp -s "$E2E_DIR/expected" "$E2E_DIR/round" || { diff "$E2E_DIR/expected" "$E2E_DIR/round" >&2; fail "the Tab order differs"; }

# The alarm, switched off and on as a reader would, counts down in a narrow
# box that must show the start of the minutes left, not their tail.
atspi_probe press tocka "Zemlo Settings" "Tock Enabled"
atspi_probe press tocka "Zemlo Settings" "Tock Enabled"
read -r caret minutes < <(atspi_probe caret tocka "Zemlo Settings" "Time Until Tock" 8) ||
    fail "the countdown could not be read"
[[ "$minutes" =~ ^19\.9[0-9]+$ ]] || fail "Time Until Tock reads '$minutes' after the first tick"
[ "$caret" = 0 ] || fail "Time Until Tock shows '$minutes' from character $caret, not from its start"

echo "screen reader: ok"
