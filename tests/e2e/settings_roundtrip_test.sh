#!/bin/bash
# SPDX-License-Identifier: MIT
# A settings file written by hand (lower-case keys, a comment, another
# section) places the clock window and sets its stacking at start; the exit
# through Command1 replaces the values where they stand and keeps the rest.
source "$E2E_LIB"
start_xvfb 1280x800x24

APP="$E2E_DIR/app"
mkdir -p "$APP"
cp "$TOCKA_BIN" "$APP/tocka"
printf '%s\r\n' '; kept by hand' '[settings]' 'form1_x=150' 'form1_y=300' 'alwaysontop=0' \
    'forecolorhex=ff0000' 'windowsizemode=SMALL' 'FadeInterval=500' 'AllowFading=1' '' '[Mine]' 'x=1' \
    >"$APP/LogSetin.ini"
chmod 640 "$APP/LogSetin.ini"

run_bg tocka "$APP/tocka"
TOCKA_PID=$!
CLOCK=$(wait_window '^(Zemlo:  |Been On Since)') || fail "the clock window did not appear"
eval "$(xdotool getwindowgeometry --shell "$CLOCK")"
[ "$X,$Y" = "20,10" ] || fail "clock window at $X,$Y, expected 20,10 (Left 300, Top 150 twips)"
[ "$WIDTH" -ge 80 ] || fail "the clock window did not start in the big look ($WIDTH px wide)"
xprop -id "$CLOCK" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE && fail "AlwaysOnTop=0 but the clock is on top"

xdotool mousemove --sync $((X + 40)) $((Y + 8)) click 3
SETTINGS=$(wait_window '^Zemlo Settings$') || fail "the settings window did not open"
eval "$(xdotool getwindowgeometry --shell "$SETTINGS")"
xdotool mousemove --sync $((X + 252)) $((Y + 496)) click 1
wait_exit "$TOCKA_PID" 20

got=$(tr -d '\r' <"$APP/LogSetin.ini")
expected=$(printf '%s\n' '; kept by hand' '[settings]' 'form1_x=150' 'form1_y=300' 'alwaysontop=0' \
    'forecolorhex=FF0000' 'windowsizemode=SMALL' 'FadeInterval=500' 'AllowFading=1' \
    'SettingVersion=2.0' 'ColourMode=0' 'Label1_ForeColour=255' 'Label1_BackColour=8421376' \
    'FadeMagnitude=20' 'ContrastOffset=0' 'ClockBackFade=0' 'ClockFrontFade=0' 'SettingFormFade=0' \
    'SettingFrameFade=0' 'BackColorHex=008080' '' '[Mine]' 'x=1')
[ "$got" = "$expected" ] || fail "LogSetin.ini after the exit:"$'\n'"$got"
[ "$(grep -c $'\r$' "$APP/LogSetin.ini")" -eq 23 ] || fail "the file's CR LF line breaks were not kept"
[ "$(stat -c %a "$APP/LogSetin.ini")" = 640 ] || fail "permissions changed to $(stat -c %a "$APP/LogSetin.ini")"

echo "settings round trip: ok"
