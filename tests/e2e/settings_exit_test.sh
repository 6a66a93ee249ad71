#!/bin/bash
# SPDX-License-Identifier: MIT
# Right-click the clock face, press Command1 in the settings window, and check
# what the program leaves behind: the settings file beside the program (a
# portable copy in a folder of its own) with its 18 keys, and one session in
# each log of the folder it was started in.
source "$E2E_LIB"
start_xvfb 1280x800x24

APP="$E2E_DIR/app"
mkdir -p "$APP"
cp "$TOCKA_BIN" "$APP/tocka"

run_bg tocka "$APP/tocka"
TOCKA_PID=$!
CLOCK=$(wait_window '^(Zemlo:  |Been On Since)') || fail "the clock window did not appear"

# No settings file: the clock sits at the top, its right edge 20 twips (1 px
# after rounding) from the screen's, and stays above other windows.
eval "$(xdotool getwindowgeometry --shell "$CLOCK")"
[ "$X,$Y" = "1197,0" ] || fail "clock window at $X,$Y, expected 1197,0"
xprop -id "$CLOCK" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "clock window not kept on top"

xdotool mousemove --sync $((X + 40)) $((Y + 8)) click 3
SETTINGS=$(wait_window '^Zemlo Settings$') || fail "the settings window did not open"
eval "$(xdotool getwindowgeometry --shell "$SETTINGS")"
[ "$WIDTH x $HEIGHT" = "271 x 527" ] || fail "settings window is $WIDTH x $HEIGHT, expected 271 x 527"
xprop -id "$SETTINGS" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE && fail "settings window must not be on top"

# Command1: 3600, 7080 twips, 375 x 735 -> its middle is 252, 496 px.
xdotool mousemove --sync $((X + 252)) $((Y + 496)) click 1
wait_exit "$TOCKA_PID" 20

expected=$(printf '%s\n' '[Settings]' 'SettingVersion=2.0' 'ColourMode=0' 'WindowSizeMode=BIG' \
    'Form1_X=0' 'Form1_Y=17960' 'Label1_ForeColour=15649792' 'Label1_BackColour=8421376' \
    'FadeInterval=150' 'FadeMagnitude=20' 'ContrastOffset=0' 'AllowFading=0' 'ClockBackFade=0' \
    'ClockFrontFade=0' 'SettingFormFade=0' 'SettingFrameFade=0' 'ForeColorHex=00CCEE' \
    'BackColorHex=008080' 'AlwaysOnTop=1')
[ -f "$APP/LogSetin.ini" ] || fail "no LogSetin.ini beside the program; files: $(find "$E2E_DIR" -name LogSetin.ini)"
cmp <(printf '%s\n' "$expected") "$APP/LogSetin.ini" || fail "LogSetin.ini differs: $(cat "$APP/LogSetin.ini")"
[ -z "$(find "$E2E_DIR/work" "$HOME" -name LogSetin.ini)" ] || fail "a settings file landed elsewhere"
ls -A "$APP" | sort | tr '\n' ' ' | grep -qx 'LogSetin.ini tocka ' || fail "stray files beside the program: $(ls -A "$APP")"

# One session in each log: six lines ending in CR LF.
data="$E2E_DIR/work/LogData.log"
[ "$(wc -l <"$data")" -eq 6 ] || fail "LogData.log has $(wc -l <"$data") lines"
[ "$(grep -c $'\r$' "$data")" -eq 6 ] || fail "LogData.log lines do not end in CR LF"
tr -d '\r' <"$data" | paste -sd'|' | grep -Eq \
    '^"----------"\|#[0-9]{4}-[0-9]{2}-[0-9]{2}#\|#[0-9]{2}:[0-9]{2}:[0-9]{2}#\|#[0-9]{2}:[0-9]{2}:[0-9]{2}#\|[0-9.]*\|("[0-9]+:[0-9]{2}:[0-9]{2}")?$' \
    || fail "LogData.log record has the wrong shape: $(cat -A "$data")"
[ "$(wc -l <"$E2E_DIR/work/Log.log")" -eq 6 ] || fail "Log.log has $(wc -l <"$E2E_DIR/work/Log.log") lines"
head -n1 "$E2E_DIR/work/Log.log" | tr -d '\r' | grep -qx -- '----------' || fail "Log.log does not start with the separator"

echo "settings exit: ok"
